// cleanLine against a plain reference: one pass from left to right that skips every
// "<div indent=wrapped>" it meets, then one such pass for "</div>".
#include <string>

#include "core/log_lines.h"
#include "fuzz_input.h"

namespace {

std::string withoutTag(std::string_view line, std::string_view tag) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        if (line.substr(i, tag.size()) == tag) {
            i += tag.size();
        } else {
            out += line[i++];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string expected = withoutTag(withoutTag(line, "<div indent=wrapped>"), "</div>");
    lw::fuzz::check(lw::cleanLine(line) == expected, "cleanLine differs", line);
    return 0;
}
