// iniWrite then iniRead: the value written reads back as written, but for the blanks at its
// ends and one matching pair of quotes; and every other key reads as it did before the write.
//
// Input: section, key, value, another section, another key, then the text the write goes into.
// Names are what a program can write as names: no line break, no blanks at their ends, and for
// keys no "=" and no leading ";" or "[". Values hold no line break: one ends a line in this
// format, and no value the program writes holds one.
#include <string>

#include "core/ini_document.h"
#include "fuzz_input.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

bool isName(std::string_view name) {
    return name.find_first_of("\r\n") == std::string_view::npos &&
           (name.empty() || (kBlanks.find(name.front()) == std::string_view::npos &&
                             kBlanks.find(name.back()) == std::string_view::npos));
}

bool isKeyName(std::string_view key) {
    return isName(key) && key.find('=') == std::string_view::npos &&
           (key.empty() || (key.front() != ';' && key.front() != '['));
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string expectedRead(std::string_view value) {
    const std::size_t first = value.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    value = value.substr(first, value.find_last_not_of(kBlanks) - first + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = lw::fuzz::fields(data, size, 6);
    const std::string_view section = in[0], key = in[1], value = in[2];
    const std::string_view otherSection = in[3], otherKey = in[4], text = in[5];
    if (!isName(section) || !isKeyName(key) || value.find('\r') != std::string_view::npos) {
        return 0;
    }
    const std::string written = lw::iniWrite(text, section, key, value, "\r\n");
    const auto read = lw::iniRead(written, section, key);
    lw::fuzz::check(read.has_value(), "the written key is not found", written);
    lw::fuzz::check(*read == expectedRead(value), "the value reads back changed", written);

    if (!sameName(section, otherSection) || !sameName(key, otherKey)) {
        lw::fuzz::check(lw::iniRead(written, otherSection, otherKey) ==
                            lw::iniRead(text, otherSection, otherKey),
                        "the write changed another key", written);
    }
    // Writing the same value again changes nothing.
    lw::fuzz::check(lw::iniWrite(written, section, key, value, "\r\n") == written,
                    "a second equal write changed the text", written);
    return 0;
}
