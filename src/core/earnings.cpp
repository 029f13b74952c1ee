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

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHigh = kOnes * 0x80;

// The high bit of each byte of the result is set exactly for the bytes '0'..'9' of `word`
// (the sums stay within their byte, so bytes never mix).
std::uint64_t digitMask(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = kOnes * 0x7F;
    const std::uint64_t low = word & kLow7;
    const std::uint64_t below = kOnes * (0x7F + '9' + 1) - low;  // high bit: low <= '9'
    const std::uint64_t above = low + kOnes * (0x7F - '0' + 1);  // high bit: low >= '0'
    return below & above & ~word & kHigh;
}

// The index of the first byte in memory order whose high bit is set in a non-zero mask.
int firstByte(std::uint64_t mask) {
    return (std::endian::native == std::endian::little ? std::countr_zero(mask)
                                                       : std::countl_zero(mask)) /
           8;
}

// The first ASCII digit in [first, last), or last. Most of a log line comes before its first
// digit, so eight bytes are tested at a time.
const char* findDigit(const char* first, const char* last) {
    for (; last - first >= 8; first += 8) {
        std::uint64_t word;
        std::memcpy(&word, first, sizeof word);
        if (const std::uint64_t mask = digitMask(word)) {
            return first + firstByte(mask);
        }
    }
    return std::find_if(first, last, isAsciiDigit);
}

// The value of the run of digits that starts at `first`, read from the eight bytes there at
// once, when the run is shorter than eight digits; nullopt for a longer run. A short run has
// no branch that depends on its length, which a log's prices vary in.
std::optional<std::int32_t> shortRunValue(const char* first) {
    std::uint64_t word;
    std::memcpy(&word, first, sizeof word);
    const std::uint64_t stops = ~digitMask(word) & kHigh;
    if (stops == 0) {
        return std::nullopt;
    }
    const int length = firstByte(stops);
    // Moving the run's digits to the top bytes leaves zeros below them, leading zeros of an
    // eight-digit number, which three multiplications then read (each step pairs up the
    // digits, two, then four at a time). The subtraction may borrow only from the bytes after
    // the run, which the shift drops.
    std::uint64_t v = (word - kOnes * '0') << (64 - 8 * length);
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
         (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
        32;
    return static_cast<std::int32_t>(v);
}

}  // namespace

std::optional<std::int32_t> creditValue(std::string_view line) {
    const char* const end = line.data() + line.size();
    const char* const first = findDigit(line.data(), end);
    if (first == end) {
        return std::nullopt;
    }
    if constexpr (std::endian::native == std::endian::little) {
        if (end - first >= 8) {
            if (const auto value = shortRunValue(first)) {
                return value;
            }
        }
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
