#pragma once

#include <cstdint>
#include <string_view>

namespace lw {

// Converts a text to a 32-bit signed integer as the settings file's integers are read: leading
// spaces, an optional "+" or "-", then decimal digits, or hexadecimal digits after "$" or "0x"
// ("0X"), and nothing after them; the signed value must lie in the 32-bit range.
// Throws Error "'<text>' is not a valid integer value" otherwise (also for an empty text).
std::int32_t strToInt(std::string_view text);

// The value of a spin edit's text: the text read as a decimal whole number (leading spaces and
// one sign allowed) when it is one within the 32-bit signed range, else 0. Never throws.
std::int32_t spinTextValue(std::string_view text);

}  // namespace lw
