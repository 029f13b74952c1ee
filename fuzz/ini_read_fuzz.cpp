// iniRead over any text, section and key: it never fails, a value it finds lies within one
// line of the text, and its section is among those iniSections lists (the roster is read from
// those alone).
#include <algorithm>
#include <string>

#include "core/ascii_case.h"
#include "core/ini_document.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = lw::fuzz::fields(data, size, 3);
    const std::string_view section = in[0], key = in[1], text = in[2];
    if (const auto value = lw::iniRead(text, section, key)) {
        lw::fuzz::check(value->find_first_of("\r\n") == std::string::npos,
                        "a value holds a line break", *value);
        lw::fuzz::check(text.find(*value) != std::string_view::npos,
                        "a value that is not in the text", *value);
        const auto sections = lw::iniSections(text);
        lw::fuzz::check(std::any_of(sections.begin(), sections.end(),
                                    [&](const std::string& name) {
                                        return lw::equalsIgnoreAsciiCase(name, section);
                                    }),
                        "a key read from a section iniSections does not list", text);
    }
    return 0;
}
