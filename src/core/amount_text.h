#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/earnings.h"

namespace lw {

// The thousands separator to write for the locale's one (UTF-8): that one when it is a single
// character, none when it is empty, and "," when it is longer or could not be read (nullopt).
std::string thousandsSeparator(std::optional<std::string_view> localeSeparator);

// The amount text of a value, as "%100.0n" formats it: rounded to 18 significant decimal digits
// (ties to even), that decimal cut to a whole number with half away from zero, "-" before a
// negative result and no sign on zero, `separator` between groups of three digits, and spaces
// in front up to 100 characters (code points); a longer text is not cut. `value` must be finite,
// as every amount of computeAmounts is.
std::string amountText(const Extended& value, std::string_view separator);

// The captions of the income, org-share and profit labels for a total at a tax rate: each
// amount text followed by " Credits".
std::array<std::string, 3> amountCaptions(std::int64_t total, std::int32_t percent,
                                          std::string_view separator);

}  // namespace lw
