#include "core/amount_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace lw {
namespace {

std::size_t codePoints(const std::string& text) {
    std::size_t n = 0;
    for (const char c : text) {
        n += (c & 0xC0) != 0x80;
    }
    return n;
}

// `text` with spaces in front up to 100 code points.
std::string padded(const std::string& text) {
    const std::size_t n = codePoints(text);
    return std::string(n < 100 ? 100 - n : 0, ' ') + text;
}

TEST(AmountTextTest, SeparatorIsTheLocalesWhenItIsOneCharacter) {
    struct Case {
        const char* name;
        std::optional<std::string_view> locale;
        std::string separator;
    };
    const Case cases[] = {
        {"full stop", ".", "."},
        {"comma", ",", ","},
        {"empty gives none", "", ""},
        {"none readable gives a comma", std::nullopt, ","},
        {"two characters give a comma", "ab", ","},
        {"no-break space as UTF-8", "\xC2\xA0", "\xC2\xA0"},
        {"narrow no-break space", "\xE2\x80\xAF", "\xE2\x80\xAF"},
        {"two no-break spaces give a comma", "\xC2\xA0\xC2\xA0", ","},
        {"a broken byte gives a comma", "\xA0", ","},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(thousandsSeparator(c.locale), c.separator);
    }
}

TEST(AmountTextTest, RoundsInTwoStagesAndGroupsDigits) {
    const Extended ulpBelowHalf = Extended(0.5) - ldexp(Extended(1), -64);
    const Extended ulpBelow7_5 = Extended(7.5) - ldexp(Extended(1), -61);
    struct Case {
        const char* name;
        Extended value;
        std::string text;
    };
    const Case cases[] = {
        {"zero", Extended(0), "0"},
        {"negative zero has no sign", -Extended(0), "0"},
        {"small negative rounds to zero without sign", Extended(-0.4), "0"},
        {"half rounds away from zero", Extended(2.5), "3"},
        {"negative half rounds away from zero", Extended(-2.5), "-3"},
        {"below half rounds down", Extended(2.49), "2"},
        {"one half", Extended(0.5), "1"},
        {"just below one half: 18 digits make it 0.5 first", ulpBelowHalf, "1"},
        {"just below 7.5: 18 digits make it 7.5 first", ulpBelow7_5, "8"},
        {"three digits have no separator", Extended(999), "999"},
        {"four digits", Extended(1000), "1,000"},
        {"six digits", Extended(123456), "123,456"},
        {"seven digits", Extended(1234567), "1,234,567"},
        {"negative", Extended(-1234), "-1,234"},
        {"19 digits are rounded to 18", Extended(std::int64_t{9223372036854775807}),
         "9,223,372,036,854,775,810"},
        {"a tie at the 18th digit goes to even (down)", Extended(std::int64_t{1000000000000000005}),
         "1,000,000,000,000,000,000"},
        {"a tie at the 18th digit goes to even (up)", Extended(std::int64_t{1000000000000000015}),
         "1,000,000,000,000,000,020"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(amountText(c.value, ","), padded(c.text));
    }
}

TEST(AmountTextTest, WritesTheSeparatorItIsGiven) {
    struct Case {
        const char* name;
        std::string separator;
        std::string text;
    };
    const Case cases[] = {
        {"full stop", ".", "1.234.567"},
        {"none", "", "1234567"},
        {"comma", ",", "1,234,567"},
        {"no-break space", "\xC2\xA0",
         "1\xC2\xA0"
         "234\xC2\xA0"
         "567"},
        {"narrow no-break space", "\xE2\x80\xAF",
         "1\xE2\x80\xAF"
         "234\xE2\x80\xAF"
         "567"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = amountText(Extended(1234567), c.separator);
        EXPECT_EQ(text, padded(c.text));
        EXPECT_EQ(codePoints(text), 100u);
    }
}

TEST(AmountTextTest, LongerTextIsNotCut) {
    const std::string text = amountText(pow(Extended(10), 80), ",");
    // 81 digits and 26 separators
    ASSERT_EQ(text.size(), 107u);
    EXPECT_EQ(text.substr(0, 8), "100,000,");
    EXPECT_EQ(text.find_first_not_of("0,", 1), std::string::npos);
}

TEST(AmountTextTest, CaptionsOfTheWorkedExamples) {
    struct Case {
        std::int64_t total;
        std::int32_t percent;
        std::string income;
        std::string orgShare;
        std::string profit;
    };
    const Case cases[] = {
        {5, 50, "5", "3", "3"},
        {250, 97, "250", "243", "7"},
        {1, 99, "1", "1", "0"},
        {30000000, 10, "30,000,000", "3,000,000", "27,000,000"},
        {2147483647, 100, "2,147,483,647", "2,147,483,647", "0"},
        {12345, 0, "12,345", "0", "12,345"},
        {12345, 100, "12,345", "12,345", "0"},
        {1000, 250, "1,000", "2,500", "-1,500"},
        {100, -5, "100", "-5", "105"},
        {4294967294, 10, "4,294,967,294", "429,496,729", "3,865,470,565"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + " at " + std::to_string(c.percent));
        const auto captions = amountCaptions(c.total, c.percent, ",");
        EXPECT_EQ(captions[0], padded(c.income) + " Credits");
        EXPECT_EQ(captions[1], padded(c.orgShare) + " Credits");
        EXPECT_EQ(captions[2], padded(c.profit) + " Credits");
    }
}

TEST(AmountTextTest, ZeroTotalGivesThePaddedZero) {
    for (const std::int32_t percent : {0, 20, 100, 250, -5}) {
        SCOPED_TRACE(percent);
        for (const auto& caption : amountCaptions(0, percent, ".")) {
            EXPECT_EQ(caption, std::string(99, ' ') + "0 Credits");
        }
    }
}

TEST(AmountTextTest, EveryCaptionIsOneHundredCharactersBeforeCredits) {
    for (const std::string separator : {".", "", ",", "\xC2\xA0", "\xE2\x80\xAF"}) {
        for (const std::int64_t total : {std::int64_t{0}, std::int64_t{1234567},
                                         std::int64_t{2147483647}, std::int64_t{98765432101}}) {
            SCOPED_TRACE(separator + " " + std::to_string(total));
            for (const auto& caption : amountCaptions(total, 250, separator)) {
                ASSERT_GE(caption.size(), 8u);
                EXPECT_EQ(caption.substr(caption.size() - 8), " Credits");
                EXPECT_EQ(codePoints(caption.substr(0, caption.size() - 8)), 100u);
            }
        }
    }
}

// The amount text of an x87 long double, made independently of the code under test: glibc's
// printf gives the exact 18 significant digits (ties to even); this cuts them to a whole number,
// rounding half away from zero by the first dropped digit, and groups them with commas.
std::string oracleText(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17Le", value);
    const std::string printed = buffer;  // "-d.ddddddddddddddddde+XX"
    const bool negative = printed[0] == '-';
    const std::size_t e = printed.find('e');
    std::string digits = printed.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
    digits.erase(1, 1);  // the decimal point
    const int exponent = std::atoi(printed.c_str() + e + 1);
    // digits * 10^(exponent - 17)
    std::string whole;
    if (exponent >= 17) {
        whole = digits + std::string(static_cast<std::size_t>(exponent - 17), '0');
    } else {
        const int keep = exponent + 1;  // digits before the decimal point
        const char firstDropped = keep >= 0 ? digits[static_cast<std::size_t>(keep)] : '0';
        whole = keep > 0 ? digits.substr(0, static_cast<std::size_t>(keep)) : "0";
        if (firstDropped >= '5') {
            std::size_t i = whole.size();
            while (i > 0 && whole[i - 1] == '9') {
                whole[--i] = '0';
            }
            if (i == 0) {
                whole.insert(0, "1");
            } else {
                ++whole[i - 1];
            }
        }
    }
    std::string text = negative && whole != "0" ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i != 0 && (whole.size() - i) % 3 == 0) {
            text += ',';
        }
        text += whole[i];
    }
    return padded(text);
}

TEST(AmountTextTest, CaptionsMatchAnIndependentLongDoubleOracle) {
#ifndef __GLIBC__
    GTEST_SKIP() << "needs glibc's exact printf";
#endif
    if (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the 80-bit format here";
    }
    std::vector<std::int64_t> totals = {
        0,   1,   2,   3,     5,          7,          99,         100,
        101, 250, 999, 12345, 2147483647, 2147483648, 4294967294, 1000000000000007};
    std::mt19937_64 random(7);
    for (int i = 0; i < 16; ++i) {
        totals.push_back(static_cast<std::int64_t>(random() >> (random() % 63)));
    }
    std::vector<std::int32_t> percents = {-5, -1, 0,  1,  3,  7,  10,  13,  17,  19,
                                          33, 50, 66, 67, 97, 99, 100, 101, 150, 250};
    for (const std::int64_t t : totals) {
        for (const std::int32_t p : percents) {
            SCOPED_TRACE(std::to_string(t) + " at " + std::to_string(p));
            const long double total = static_cast<long double>(t);
            const long double share = total * static_cast<long double>(p) / 100.0L;
            const long double profit = (1.0L - static_cast<long double>(p) / 100.0L) * total;
            const auto captions = amountCaptions(t, p, ",");
            EXPECT_EQ(captions[0], oracleText(total) + " Credits");
            EXPECT_EQ(captions[1], oracleText(share) + " Credits");
            EXPECT_EQ(captions[2], oracleText(profit) + " Credits");
        }
    }
}

}  // namespace
}  // namespace lw
