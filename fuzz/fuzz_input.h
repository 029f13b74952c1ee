#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lw::fuzz {

// The fuzz input as `count` fields: the first count - 1 end at a line feed each, the last
// takes the rest (line feeds included). Missing fields are empty. Line feeds as separators keep
// the seed files readable and editable by hand.
inline std::vector<std::string_view> fields(const std::uint8_t* data, std::size_t size,
                                            std::size_t count) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> out;
    while (out.size() + 1 < count) {
        const std::size_t lf = rest.find('\n');
        if (lf == std::string_view::npos) {
            out.push_back(rest);
            rest = {};
        } else {
            out.push_back(rest.substr(0, lf));
            rest.remove_prefix(lf + 1);
        }
    }
    out.push_back(rest);
    return out;
}

// Text with control and non-ASCII bytes shown as \xNN, for reports.
inline std::string shown(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

// Stops the run with a report when a property does not hold: libFuzzer keeps the input.
// `detail` (the input, or what was made of it) is shown only then.
inline void check(bool holds, const char* what, std::string_view detail = {}) {
    if (!holds) {
        const std::string text = shown(detail);
        std::fprintf(stderr, "property broken: %s\n%s\n", what, text.c_str());
        std::abort();
    }
}

}  // namespace lw::fuzz
