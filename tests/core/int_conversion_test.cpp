#include "core/int_conversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "core/error.h"

namespace lw {
namespace {

struct Case {
    const char* name;
    std::string_view text;
    std::optional<std::int32_t> value;  // nullopt: not an integer
};

TEST(StrToInt, ReadsDecimalAndHexWithinTheSignedRange) {
    const Case cases[] = {
        {"zero", "0", 0},
        {"decimal", "42", 42},
        {"plus sign", "+7", 7},
        {"minus sign", "-7", -7},
        {"leading spaces", "   12", 12},
        {"leading zeros", "007", 7},
        {"dollar hex", "$1F", 31},
        {"dollar hex lower case", "$ff", 255},
        {"0x hex", "0x10", 16},
        {"0X hex", "0X1a", 26},
        {"signed dollar hex", "-$10", -16},
        {"signed 0x hex", "-0x10", -16},
        {"largest", "2147483647", 2147483647},
        {"smallest", "-2147483648", INT32_MIN},
        {"largest hex", "$7FFFFFFF", 2147483647},
        {"smallest hex", "-$80000000", INT32_MIN},
        {"empty", "", std::nullopt},
        {"spaces only", "   ", std::nullopt},
        {"sign only", "-", std::nullopt},
        {"dollar only", "$", std::nullopt},
        {"0x only", "0x", std::nullopt},
        {"trailing space", "12 ", std::nullopt},
        {"tab is no leading space", "\t5", std::nullopt},
        {"two signs", "+-5", std::nullopt},
        {"space after sign", "- 5", std::nullopt},
        {"fraction", "1.5", std::nullopt},
        {"exponent", "1e3", std::nullopt},
        {"letters", "abc", std::nullopt},
        {"hex digit without prefix", "1F", std::nullopt},
        {"hex prefix not at start", "00x5", std::nullopt},
        {"above the range", "2147483648", std::nullopt},
        {"below the range", "-2147483649", std::nullopt},
        {"hex above the signed range", "$80000000", std::nullopt},
        {"all hex bits set", "$FFFFFFFF", std::nullopt},
        {"many digits", "99999999999999999999999", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.value) {
            EXPECT_EQ(strToInt(c.text), *c.value);
        } else {
            EXPECT_THROW(strToInt(c.text), Error);
        }
    }
}

TEST(StrToInt, ErrorQuotesTheTextAsGiven) {
    for (const std::string_view text : {"", "12 ", " x", "2147483648"}) {
        try {
            strToInt(text);
            ADD_FAILURE() << "no error for '" << text << "'";
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(SpinTextValue, ReadsSignedDecimalElseZero) {
    const Case cases[] = {
        {"decimal", "42", 42},
        {"leading spaces", "  7", 7},
        {"minus sign", "-5", -5},
        {"plus sign", "+3", 3},
        {"out of the spin range is still a value", "250", 250},
        {"smallest", "-2147483648", INT32_MIN},
        {"empty", "", 0},
        {"sign only", "-", 0},
        {"letters", "abc", 0},
        {"trailing space", "12 ", 0},
        {"no hex", "$10", 0},
        {"no 0x hex", "0x10", 0},
        {"above the range", "2147483648", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(spinTextValue(c.text), *c.value);
    }
}

}  // namespace
}  // namespace lw
