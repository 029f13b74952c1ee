// iniRead over any text, section and key: it never fails, and a value it finds lies within one
// line of the text.
#include <string>

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
    }
    return 0;
}
