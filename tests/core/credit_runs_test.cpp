// The credit value of a line read eight bytes at a time must equal a plain reading of the
// digits for every length of run, place in the line and byte after it.
#include <cstdint>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/earnings.h"
#include "core/error.h"

namespace lw {
namespace {

// The leftmost run of ASCII digits read digit by digit; nullopt for no digit, -1 for a run
// above 2,147,483,647.
std::optional<std::int64_t> plainCreditValue(const std::string& line) {
    const auto first = line.find_first_of("0123456789");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (std::size_t i = first; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > 2147483647) {
            return -1;
        }
    }
    return value;
}

std::optional<std::int64_t> creditValueOrTooLarge(const std::string& line) {
    try {
        const auto value = creditValue(line);
        return value ? std::optional<std::int64_t>(*value) : std::nullopt;
    } catch (const Error&) {
        return -1;
    }
}

TEST(CreditRunsTest, EveryRunLengthPlaceAndNeighbourReadsAsItsDigits) {
    // The bytes around '0'..'9' and the ones that borrow when '0' is taken from them.
    const std::string neighbours[] = {"", "/", ":", " ", "\x01", "\x7F", "\x80", "\xFF", "x"};
    const std::string runs[] = {"5",
                                "0",
                                "42",
                                "907",
                                "1234",
                                "00012",
                                "654321",
                                "9999999",
                                "12345678",
                                "000000001",
                                "2147483647",
                                "2147483648",
                                "00000000000000000000007"};
    for (const auto& run : runs) {
        for (const auto& after : neighbours) {
            for (std::size_t at = 0; at < 10; ++at) {
                for (const std::string tail : {"", " credits at 12:34.", "9"}) {
                    const std::string line = std::string(at, 'a') + run + after + tail;
                    SCOPED_TRACE(line);
                    EXPECT_EQ(creditValueOrTooLarge(line), plainCreditValue(line));
                }
            }
        }
    }
}

}  // namespace
}  // namespace lw
