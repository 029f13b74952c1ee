#include "core/int_conversion.h"

#include <optional>
#include <string>

#include "core/error.h"

namespace lw {
namespace {

int digitValue(char c, int base) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (base == 16 && c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (base == 16 && c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The one grammar behind both conversions; nullopt for anything that is not a whole number in
// the 32-bit signed range.
std::optional<std::int32_t> parseInt32(std::string_view text, bool allowHex) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        return std::nullopt;
    }
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (allowHex && i < text.size() && text[i] == '$') {
        base = 16;
        i += 1;
    } else if (allowHex && i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // The range is checked on the signed value, so "-2147483648" fits and "$80000000" does not.
    const std::int64_t limit = negative ? 2147483648 : 2147483647;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i], base);
        if (digit < 0) {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

std::int32_t strToInt(std::string_view text) {
    if (const auto value = parseInt32(text, true)) {
        return *value;
    }
    throw Error("'" + std::string(text) + "' is not a valid integer value");
}

std::int32_t spinTextValue(std::string_view text) {
    return parseInt32(text, false).value_or(0);
}

}  // namespace lw
