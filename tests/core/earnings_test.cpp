#include "core/earnings.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/error.h"

namespace lw {
namespace {

LogLines logOf(const std::vector<std::string>& lines) {
    LogLines log;
    for (const auto& line : lines) {
        log.append(line);
    }
    return log;
}

TEST(EarningsTest, CreditValueIsTheFirstRunOfAsciiDigits) {
    struct Case {
        const char* name;
        std::string line;
        std::optional<std::int32_t> credits;
    };
    const Case cases[] = {
        {"leading zeros", "abc 007xyz 15", 7},
        {"sign is no part", "-300", 300},
        {"dots cut the run", "1.234.567", 1},
        {"no digit", "letters only", std::nullopt},
        {"empty line", "", std::nullopt},
        {"largest value", "2147483647", 2147483647},
        {"zero", "for 0 credits", 0},
        {"many zeros then 5", std::string(300, '0') + "5", 5},
        {"zeros before the largest value", "x00000000002147483647y", 2147483647},
        {"digit at the end of a long line", std::string(37, 'a') + "9", 9},
        {"bytes next to the digits", "/:@`\xB0\xB5\xB9\xFF 42", 42},
        {"other scripts' digits do not count", "\xD9\xA3 \xEF\xBC\x95 \xDB\xB4", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(creditValue(c.line), c.credits);
    }
    // Where the run starts does not matter, also across the eight-byte steps of the search.
    for (std::size_t at = 0; at < 20; ++at) {
        SCOPED_TRACE(at);
        EXPECT_EQ(creditValue(std::string(at, 'x') + "1234z5"), 1234);
    }
}

TEST(EarningsTest, RunAboveInt32MaxThrowsWithTheRun) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case cases[] = {
        {"2147483648", "'2147483648' is not a valid integer value"},
        {"sold for 99999999999 credits", "'99999999999' is not a valid integer value"},
        {"x0002147483648", "'0002147483648' is not a valid integer value"},
        {"4294967296 7", "'4294967296' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        try {
            creditValue(c.line);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(EarningsTest, SumsTheCreditsOfAllLinesIn64Bits) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::int64_t total;
    };
    const Case cases[] = {
        {"no lines", {}, 0},
        {"first runs only", {"abc 007xyz 15", "-300", "1.234.567"}, 308},
        {"letters only count nothing", {"letters only", "", "5"}, 5},
        {"largest value adds", {"2147483647", "1"}, 2147483648},
        {"total above 32 bits", {"2147483647", "2147483647"}, 4294967294},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sumCredits(logOf(c.lines)), c.total);
    }

    LogLines many;
    for (int i = 0; i < 1000; ++i) {
        many.append("Bob bought it for 2147483647 credits");
    }
    EXPECT_EQ(sumCredits(many), 2147483647LL * 1000);
}

TEST(EarningsTest, SumStopsAtARunTooLarge) {
    const LogLines log = logOf({"10", "2147483648 after good lines", "3"});
    try {
        sumCredits(log);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'2147483648' is not a valid integer value");
    }
}

TEST(EarningsTest, AmountsOfTheWorkedExamples) {
    struct Case {
        std::int64_t total;
        std::int32_t percent;
        Extended orgShare;
        Extended profit;
    };
    // Values exact in binary; 250 at 97 % is checked below for its rounding.
    const Case cases[] = {
        {5, 50, Extended(2.5), Extended(2.5)},
        {0, 50, Extended(0), Extended(0)},
        {1234, 0, Extended(0), Extended(1234)},
        {1234, 100, Extended(1234), Extended(0)},
        {2147483647, 100, Extended(2147483647), Extended(0)},
        {1000, 250, Extended(2500), Extended(-1500)},
        {4294967294, 50, Extended(2147483647), Extended(2147483647)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + " at " + std::to_string(c.percent));
        const Amounts a = computeAmounts(c.total, c.percent);
        EXPECT_EQ(a.income, Extended(c.total));
        EXPECT_EQ(a.orgShare, c.orgShare);
        EXPECT_EQ(a.profit, c.profit);
    }

    // (1 - 0.97) * 250 in extended precision falls just below 7.5.
    const Amounts a = computeAmounts(250, 97);
    EXPECT_EQ(a.orgShare, Extended(242.5));
    EXPECT_LT(a.profit, Extended(7.5));
    EXPECT_GT(a.profit, Extended(7.4999999));
}

// The x87 80-bit long double of x86-64 rounds every operation to a 64-bit significand, as
// Extended must: it computes the same steps independently.
TEST(EarningsTest, AmountsMatchLongDoubleArithmetic) {
    if (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the 80-bit format here";
    }
    std::vector<std::int64_t> totals = {0,
                                        1,
                                        3,
                                        7,
                                        99,
                                        250,
                                        12345,
                                        2147483647,
                                        4294967294,
                                        1000000007,
                                        (std::int64_t{1} << 53) + 1,
                                        std::numeric_limits<std::int64_t>::max()};
    std::mt19937_64 random(42);
    for (int i = 0; i < 20; ++i) {
        totals.push_back(static_cast<std::int64_t>(random() >> (random() % 63)));
    }
    for (const std::int64_t t : totals) {
        for (std::int32_t p = -5; p <= 250; p += 17) {
            SCOPED_TRACE(std::to_string(t) + " at " + std::to_string(p));
            const long double total = static_cast<long double>(t);
            // Both factors are exact, so the product is rounded once, as the exact product is.
            const long double share = total * static_cast<long double>(p) / 100.0L;
            const long double profit = (1.0L - static_cast<long double>(p) / 100.0L) * total;
            const Amounts a = computeAmounts(t, p);
            EXPECT_EQ(a.income, Extended(total));
            EXPECT_EQ(a.orgShare, Extended(share));
            EXPECT_EQ(a.profit, Extended(profit));
        }
    }
}

}  // namespace
}  // namespace lw
