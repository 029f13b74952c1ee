#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <boost/multiprecision/cpp_bin_float.hpp>

#include "core/log_lines.h"

namespace lw {

// 80-bit extended floating point: a 64-bit significand, each operation rounded to nearest, the
// same bits on every compiler.
using Extended = boost::multiprecision::cpp_bin_float_double_extended;

// The credit value of a line: its leftmost run of ASCII digits read as a decimal number
// (leading zeros allowed), or nullopt when the line has no digit.
// Throws Error "'<run>' is not a valid integer value" when the run is above 2,147,483,647.
std::optional<std::int32_t> creditValue(std::string_view line);

// The sum of the credit values of all lines, in 64 bits. Throws as creditValue does, at the
// first line whose run is too large.
std::int64_t sumCredits(const LogLines& lines);

// Income, org share and profit for a total and a tax rate in percent: the total itself;
// total * percent taken exactly, then divided by 100; and (1 - percent / 100) * total, each
// step in Extended.
struct Amounts {
    Extended income;
    Extended orgShare;
    Extended profit;
};
Amounts computeAmounts(std::int64_t total, std::int32_t percent);

}  // namespace lw
