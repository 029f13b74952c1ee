#include "core/file_system.h"

#include "core/ascii_case.h"

namespace lw {

bool matchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") {
        return true;
    }
    // Greedy match that backs up to the last "*" on a mismatch: linear for the callers' plain
    // names, and never worse than name length times pattern length.
    constexpr auto none = std::string_view::npos;
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t star = none;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || asciiUpper(pattern[p]) == asciiUpper(name[n]))) {
            ++p;
            ++n;
        } else if (star != none) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace lw
