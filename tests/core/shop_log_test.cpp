#include "core/shop_log.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/path.h"
#include "support/faulty_file_system.h"
#include "support/file_times.h"
#include "support/temp_dir.h"

namespace lw {
namespace {

const FileSystem& disk() {
    return platformFileSystem();
}

std::vector<std::string> linesOf(const LogLines& lines) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out.emplace_back(lines[i]);
    }
    return out;
}

TEST(ShopLogExists, FileWithAReadableYearFrom1980To2107) {
    struct Case {
        const char* name;
        int year;
        bool exists;
    };
    const Case cases[] = {
        {"1979", 1979, false}, {"1980", 1980, true},  {"2024", 2024, true},
        {"2107", 2107, true},  {"2108", 2108, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto file = dir.write("Char/Playershoplog.html", "x");
        test::setLastWriteTime(file, test::localNoon(c.year));
        EXPECT_EQ(shopLogExists(disk(), dir.str() + nativePath("Char\\Playershoplog.html")),
                  c.exists);
        EXPECT_EQ(shopLogExists(disk(), dir.str() + nativePath("char\\playershoplog.HTML")),
                  c.exists);
    }
}

TEST(ShopLogExists, NoFileThereIsNoShopLog) {
    test::TempDir dir;
    dir.mkdir("Folder/Playershoplog.html");
    EXPECT_FALSE(shopLogExists(disk(), dir.str() + nativePath("Folder\\Playershoplog.html")));
    EXPECT_FALSE(shopLogExists(disk(), dir.str() + nativePath("Missing\\Playershoplog.html")));
}

TEST(NothingSoldLine, NamesTheEntryText) {
    EXPECT_EQ(nothingSoldLine("Trader"), "Der Char Trader hat nichts verkauft");
    EXPECT_EQ(nothingSoldLine(""), "Der Char  hat nichts verkauft");
}

TEST(LoadShopLog, AppendsTheCleanedLinesOfTheFileInAnyCase) {
    test::TempDir dir;
    dir.write("Acc/Char/Playershoplog.html", "<div indent=wrapped>sold 5</div>\r\nsold 7\n");
    LogLines lines;
    lines.append("before");
    loadShopLog(disk(), dir.str() + nativePath("acc\\char\\PLAYERSHOPLOG.html"), lines);
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"before", "sold 5", "sold 7"}));
}

TEST(LoadShopLog, FileThatCannotBeOpenedThrowsAndAddsNothing) {
    test::TempDir dir;
    dir.mkdir("Char/Playershoplog.html");
    const std::string path = dir.str() + nativePath("Char\\Playershoplog.html");
    LogLines lines;
    try {
        loadShopLog(disk(), path, lines);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        // The reason is the system's own text, in its own words on each platform.
        EXPECT_TRUE(std::string(e.what()).starts_with("Cannot open file \"" + path + "\". "))
            << e.what();
    }
    EXPECT_TRUE(lines.empty());
}

TEST(LoadAllShopLogs, EveryLogBelowPrefsInSearchOrder) {
    test::TempDir dir;
    dir.write("AO/Prefs/Acc2/Char2/Playershoplog.html", "two\n");
    dir.write("AO/Prefs/Acc1/Char0/PlayerShopLog.html", "char0\n");
    dir.write("AO/Prefs/Acc1/Char1/Playershoplog.html", "one a\r\n<div indent=wrapped>one b");
    dir.write("AO/Prefs/playershoplog.html", "top\n");
    dir.write("AO/Prefs/Acc1/Char1/Empty/Playershoplog.html", "");
    EXPECT_EQ(linesOf(loadAllShopLogs(disk(), dir.str() + nativePath("AO\\"))),
              (std::vector<std::string>{"top", "char0", "one a", "one b", "two"}));
    EXPECT_TRUE(loadAllShopLogs(disk(), dir.str() + nativePath("Missing\\")).empty());
}

TEST(LoadAllShopLogs, FirstUnreadableLogEndsTheLoad) {
    test::TempDir dir;
    dir.write("AO/Prefs/Acc/A/Playershoplog.html", "a\n");
    dir.write("AO/Prefs/Acc/Locked/Playershoplog.html", "locked\n");
    dir.write("AO/Prefs/Acc/Z/Playershoplog.html", "z\n");
    test::FaultyFileSystem fs;
    fs.unreadable = "Locked";
    const std::string prefs = dir.str() + nativePath("AO\\Prefs\\");
    try {
        loadAllShopLogs(fs, dir.str() + nativePath("AO\\"));
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + prefs +
                                             nativePath("Acc\\Locked\\Playershoplog.html") +
                                             "\". Permission denied");
    }
    EXPECT_EQ(fs.reads, 2) << "the logs after the unreadable one are not read";
}

}  // namespace
}  // namespace lw
