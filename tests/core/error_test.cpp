#include "core/error.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(ErrorBoxText, AddsFullStopOnlyAfterBytesThatSortAfterIt) {
    struct Case {
        const char* name;
        std::string_view message;
        std::string_view shown;
    };
    const Case cases[] = {
        {"empty stays empty", "", ""},
        {"letter", "Unable to write to /a/b.ini", "Unable to write to /a/b.ini."},
        {"digit", "'abc' is not a valid integer value 5", "'abc' is not a valid integer value 5."},
        {"slash sorts after the stop", "C:/", "C:/."},
        {"own full stop kept single", "Ende.", "Ende."},
        {"closing bracket sorts before", "List index out of bounds (1)",
         "List index out of bounds (1)"},
        {"minus sorts before", "x-", "x-"},
        {"quote sorts before", "'x'", "'x'"},
        {"space sorts before", "x ", "x "},
        {"upper code-page byte", "Gr\xFC\xDF", "Gr\xFC\xDF."},
        {"UTF-8 last byte", "\xC3\xA4", "\xC3\xA4."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(errorBoxText(c.message), c.shown);
    }
}

}  // namespace
}  // namespace lw
