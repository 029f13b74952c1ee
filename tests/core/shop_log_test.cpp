#include "core/shop_log.h"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <ctime>

#include "core/error.h"
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

std::time_t localNoon(int year) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = 6;
    t.tm_mday = 1;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    return std::mktime(&t);
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
        const std::time_t when = localNoon(c.year);
        const timeval times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::utimes(file.c_str(), times), 0);
        EXPECT_EQ(shopLogExists(disk(), dir.str() + "Char/Playershoplog.html"), c.exists);
        EXPECT_EQ(shopLogExists(disk(), dir.str() + "char/playershoplog.HTML"), c.exists);
    }
}

TEST(ShopLogExists, NoFileThereIsNoShopLog) {
    test::TempDir dir;
    dir.mkdir("Folder/Playershoplog.html");
    EXPECT_FALSE(shopLogExists(disk(), dir.str() + "Folder/Playershoplog.html"));
    EXPECT_FALSE(shopLogExists(disk(), dir.str() + "Missing/Playershoplog.html"));
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
    loadShopLog(disk(), dir.str() + "acc/char/PLAYERSHOPLOG.html", lines);
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"before", "sold 5", "sold 7"}));
}

TEST(LoadShopLog, FileThatCannotBeOpenedThrowsAndAddsNothing) {
    test::TempDir dir;
    dir.mkdir("Char/Playershoplog.html");
    const std::string path = dir.str() + "Char/Playershoplog.html";
    LogLines lines;
    try {
        loadShopLog(disk(), path, lines);
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". Is a directory");
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
    EXPECT_EQ(linesOf(loadAllShopLogs(disk(), dir.str() + "AO/")),
              (std::vector<std::string>{"top", "char0", "one a", "one b", "two"}));
    EXPECT_TRUE(loadAllShopLogs(disk(), dir.str() + "Missing/").empty());
}

// The disk, except that reading a file whose path holds "Locked" fails as a file that another
// program holds open for writing would.
class LockedLogs : public FileSystem {
  public:
    std::optional<std::string> resolve(std::string_view path) const override {
        return disk().resolve(path);
    }
    std::vector<DirEntry> list(const std::string& folder) const override {
        return disk().list(folder);
    }
    std::optional<FolderId> folderId(const std::string& folder) const override {
        return disk().folderId(folder);
    }
    bool isDirectory(std::string_view path) const override { return disk().isDirectory(path); }
    std::optional<int> lastWriteYear(std::string_view path) const override {
        return disk().lastWriteYear(path);
    }
    std::string readFile(std::string_view path) const override {
        ++reads;
        if (path.find("Locked") != std::string_view::npos) {
            throw Error("Cannot open file \"" + std::string(path) + "\". Locked");
        }
        return disk().readFile(path);
    }
    std::optional<std::string> readFileIfExists(const std::string& path) const override {
        return disk().readFileIfExists(path);
    }
    bool replaceFile(const std::string& path, std::string_view bytes) const override {
        return disk().replaceFile(path, bytes);
    }

    mutable int reads = 0;
};

TEST(LoadAllShopLogs, FirstUnreadableLogEndsTheLoad) {
    test::TempDir dir;
    dir.write("AO/Prefs/Acc/A/Playershoplog.html", "a\n");
    dir.write("AO/Prefs/Acc/Locked/Playershoplog.html", "locked\n");
    dir.write("AO/Prefs/Acc/Z/Playershoplog.html", "z\n");
    const LockedLogs fs;
    const std::string prefs = dir.str() + "AO/Prefs/";
    try {
        loadAllShopLogs(fs, dir.str() + "AO/");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + prefs + "Acc/Locked/Playershoplog.html\". Locked");
    }
    EXPECT_EQ(fs.reads, 2) << "the logs after the unreadable one are not read";
}

}  // namespace
}  // namespace lw
