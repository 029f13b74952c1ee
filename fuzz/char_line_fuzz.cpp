// The settings line of a character: charLine then parseCharLine gives the character back when
// its folder names hold no comma; any line parses without fault, and a line of three or more
// fields is written back as it was.
//
// Input: CharDir, AccountDir, then Name (the rest, commas allowed). Commas are taken out of the
// two folder names: a folder name with a comma cannot be told apart from the next field.
#include <algorithm>
#include <string>

#include "core/settings.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const auto parsed = lw::parseCharLine(raw);
    if (std::count(raw.begin(), raw.end(), ',') >= 2 && parsed) {
        lw::fuzz::check(lw::charLine(*parsed) == raw, "a line does not write back as it was", raw);
    }

    const auto in = lw::fuzz::fields(data, size, 3);
    lw::TCharacter character;
    for (const auto& [field, target] :
         {std::pair{in[0], &character.CharDir}, std::pair{in[1], &character.AccountDir}}) {
        std::copy_if(field.begin(), field.end(), std::back_inserter(*target),
                     [](char c) { return c != ','; });
    }
    character.Name = in[2];
    const auto back = lw::parseCharLine(lw::charLine(character));
    if (character.CharDir.empty()) {
        lw::fuzz::check(!back.has_value(), "a line without a folder name gave a character");
    } else {
        lw::fuzz::check(back == character, "a character does not read back as written",
                        lw::charLine(character));
    }
    return 0;
}
