#include "core/path.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(NativePath, EveryBackslashBecomesTheSeparator) {
    const std::string expected = std::string("a") + kSep + "b" + kSep + kSep + "c" + kSep;
    EXPECT_EQ(nativePath("a\\b\\\\c\\"), expected);
    EXPECT_EQ(nativePath("plain"), "plain");
    EXPECT_EQ(nativePath(""), "");
}

TEST(PickedFileDirectory, FolderOfThePickWithOneSeparatorAppended) {
    struct Case {
        const char* name;
        const char* picked;
        char sep;
        const char* directory;
    };
    const Case cases[] = {
        {"windows folder", "C:\\Games\\AO\\Anarchy.exe", '\\', "C:\\Games\\AO\\"},
        {"drive top keeps its separator", "D:\\Anarchy.exe", '\\', "D:\\\\"},
        {"lower-case drive", "d:\\Anarchy.exe", '\\', "d:\\\\"},
        {"colon deeper is no drive", "C:\\a:\\Anarchy.exe", '\\', "C:\\a:\\"},
        {"posix folder", "/home/u/AO/Anarchy.exe", '/', "/home/u/AO/"},
        {"posix root", "/Anarchy.exe", '/', "/"},
        {"posix colon is no drive", "/a:/Anarchy.exe", '/', "/a:/"},
        {"no separator", "Anarchy.exe", '/', "/"},
        {"other platform's separator is a plain character", "C:\\AO\\Anarchy.exe", '/', "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pickedFileDirectory(c.picked, c.sep), c.directory);
    }
}

}  // namespace
}  // namespace lw
