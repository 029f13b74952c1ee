#include "core/earnings.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include <boost/multiprecision/cpp_int.hpp>

#include "core/error.h"

namespace lw {

namespace {

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// The first ASCII digit in [first, last), or last. Most of a log line comes before its first
// digit, so eight bytes are tested at a time: the high bit of each byte of the mask is set
// exactly for the bytes '0'..'9' (the sums stay within their byte, so bytes never mix).
const char* findDigit(const char* first, const char* last) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kLow7 = kOnes * 0x7F;
    constexpr std::uint64_t kHigh = kOnes * 0x80;
    for (; last - first >= 8; first += 8) {
        std::uint64_t word;
        std::memcpy(&word, first, sizeof word);
        const std::uint64_t low = word & kLow7;
        const std::uint64_t below = kOnes * (0x7F + '9' + 1) - low;  // high bit: low <= '9'
        const std::uint64_t above = low + kOnes * (0x7F - '0' + 1);  // high bit: low >= '0'
        if (const std::uint64_t mask = below & above & ~word & kHigh) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(mask)
                                                                       : std::countl_zero(mask);
            return first + bit / 8;
        }
    }
    return std::find_if(first, last, isAsciiDigit);
}

}  // namespace

std::optional<std::int32_t> creditValue(std::string_view line) {
    const char* const end = line.data() + line.size();
    const char* const first = findDigit(line.data(), end);
    if (first == end) {
        return std::nullopt;
    }
    const std::string_view run(first, std::find_if_not(first, end, isAsciiDigit));
    const auto significant = run.substr(std::min(run.find_first_not_of('0'), run.size()));
    // Ten digits hold every int32 value; checking the length first keeps the sum from
    // overflowing on a run of any length.
    if (significant.size() <= 10) {
        std::int64_t value = 0;
        for (const char c : significant) {
            value = value * 10 + (c - '0');
        }
        if (value <= std::numeric_limits<std::int32_t>::max()) {
            return static_cast<std::int32_t>(value);
        }
    }
    throw Error("'" + std::string(run) + "' is not a valid integer value");
}

std::int64_t sumCredits(const LogLines& lines) {
    std::int64_t total = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto value = creditValue(lines[i])) {
            total += *value;
        }
    }
    return total;
}

Amounts computeAmounts(std::int64_t total, std::int32_t percent) {
    const Extended income(total);
    // The product can exceed 64 bits; it is rounded once, on its way into Extended.
    const boost::multiprecision::int128_t product =
        boost::multiprecision::int128_t(total) * percent;
    const Extended orgShare = Extended(product) / 100;
    const Extended profit = (1 - Extended(percent) / 100) * income;
    return {income, orgShare, profit};
}

}  // namespace lw
