#pragma once

#include <string_view>

namespace lw {

// Letter case as the game's file system folds it for names: ASCII letters only, every other
// byte stays as it is.
constexpr char asciiUpper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether two names are equal without regard to ASCII letter case.
constexpr bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace lw
