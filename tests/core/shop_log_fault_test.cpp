// Shop logs and game trees as another program and a damaged disk can leave them: a log that
// may not be read, one that grows while it is read, folders and files that vanish during a
// search, and logs with odd bytes. Each is read as far as it goes, or fails with the program's
// own error, and nothing crashes or hangs. A folder named Playershoplog.html is in
// shop_log_test.cpp and app/shop_log_view_test.cpp; link loops and a tree 1,000 folders deep
// are in find_files_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/earnings.h"
#include "core/error.h"
#include "core/find_files.h"
#include "core/path.h"
#include "core/roster.h"
#include "core/shop_log.h"
#include "support/faulty_file_system.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include "support/unprivileged.h"
#endif

namespace lw {
namespace {

namespace stdfs = std::filesystem;
using namespace std::string_literals;

const FileSystem& disk() {
    return platformFileSystem();
}

template <class Fn>
std::string errorOf(Fn&& fn) {
    try {
        fn();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

#ifndef _WIN32
// An unprivileged user (nobody, when the tests run as root) and a log only its owner may read.
TEST(ShopLogReadFault, LogWithoutReadPermissionNamesTheFileAndAddsNothing) {
    test::TempDir dir;
    const auto log = dir.write("AO/Prefs/acc/Char/Playershoplog.html", "sold 5\n");
    stdfs::permissions(log, stdfs::perms::owner_read | stdfs::perms::owner_write);
    const std::string path = dir.str() + "AO/Prefs/acc/Char/Playershoplog.html";

    const auto outcome = test::unprivilegedRun([&] {
        LogLines lines;
        lines.append("kept");
        const std::string one = errorOf([&] { loadShopLog(disk(), path, lines); });
        const std::string all = errorOf([&] { loadAllShopLogs(disk(), dir.str() + "AO/"); });
        return one + "\n" + all + "\n" + std::to_string(lines.size());
    });
    ASSERT_TRUE(outcome.has_value()) << "the unprivileged child failed";
    const std::string error = "Cannot open file \"" + path + "\". Permission denied";
    EXPECT_EQ(*outcome, error + "\n" + error + "\n1");
}

// Another thread appends to the log, as the game does, while it is read again and again:
// every read gives what the file held at some moment, which is a start of its final bytes.
// (Windows refuses to open a file for reading while another program writes it.)
TEST(ShopLogReadFault, LogThatGrowsWhileItIsReadGivesAStartOfIt) {
    test::TempDir dir;
    const auto log = dir.write("Playershoplog.html");
    std::string chunk;
    for (int i = 0; i < 200; ++i) {
        chunk += "<div indent=wrapped>Sold item " + std::to_string(i) + " for 100</div>\r\n";
    }
    constexpr int kChunks = 2000;
    std::string final;
    for (int i = 0; i < kChunks; ++i) {
        final += chunk;
    }
    std::atomic<bool> done = false;
    std::thread game([&] {
        std::ofstream out(log, std::ios::binary | std::ios::app);
        for (int i = 0; i < kChunks; ++i) {
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            out.flush();
        }
        done = true;
    });
    for (bool last = false; !last;) {
        last = done;
        const std::string bytes = disk().readFile(log.string());
        SCOPED_TRACE("a read of " + std::to_string(bytes.size()) + " bytes");
        ASSERT_EQ(bytes, std::string_view(final).substr(0, bytes.size()));
        LogLines lines;
        lines.appendFile(bytes);
        const auto breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
        EXPECT_GE(lines.size(), breaks);
        EXPECT_LE(lines.size(), breaks + 1);
    }
    game.join();
    EXPECT_EQ(disk().readFile(log.string()), final);
}

#endif  // _WIN32

// A character folder that another program removes between the listing of its account folder
// and its own listing, and a log removed after the search found it.
TEST(ShopLogReadFault, FolderOrFileVanishingDuringASearch) {
    test::TempDir dir;
    dir.write("AO/Prefs/acc/Gone/Prefs/prefs.xml");
    dir.write("AO/Prefs/acc/Gone/Playershoplog.html", "gone 1\n");
    dir.write("AO/Prefs/acc/Here/Prefs/prefs.xml");
    dir.write("AO/Prefs/acc/Here/Playershoplog.html", "here 2\n");
    dir.write("AO/Prefs/acc/Later/Playershoplog.html", "later 3\n");
    const std::string aoDir = dir.str() + nativePath("AO\\");
    test::FaultyFileSystem fs;
    fs.afterList = [&](const std::string& folder) {
        if (folder.ends_with(nativePath("\\acc\\"))) {
            stdfs::remove_all(dir.path() / "AO/Prefs/acc/Gone");
        }
    };

    std::vector<std::string> found;
    FindFiles(prefsSearchPath(aoDir), found, fs);
    EXPECT_EQ(found,
              std::vector<std::string>{aoDir + nativePath("prefs\\acc\\Here\\Prefs\\prefs.xml")});
    EXPECT_EQ(getallchars(fs, aoDir, found), (std::vector<TCharacter>{{"", "Here", "acc"}}));

    // The search finds "Later", then the file goes before it is read.
    fs.afterList = [&](const std::string& folder) {
        if (folder.ends_with(nativePath("\\Later\\"))) {
            stdfs::remove(dir.path() / "AO/Prefs/acc/Later/Playershoplog.html");
        }
    };
    dir.write("AO/Prefs/acc/Later/Playershoplog.html", "later 3\n");
    const std::string later = aoDir + nativePath("Prefs\\acc\\Later\\Playershoplog.html");
    // The reason is the system's own text, in its own words on each platform.
    const std::string error = errorOf([&] { loadAllShopLogs(fs, aoDir); });
    EXPECT_TRUE(error.starts_with("Cannot open file \"" + later + "\". ")) << error;
    fs.afterList = nullptr;
    EXPECT_FALSE(shopLogExists(fs, later));
}

TEST(ShopLogContentFault, OddBytesAreReadAsLinesAndSummed) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;  // empty: only the count and the sum are checked
        std::size_t count;
        std::int64_t sum;
    };
    const std::string longLine = std::string(10 * 1024 * 1024, 'x') + " 123";
    const Case cases[] = {
        {"a 10 MB line", longLine + "\r\nnext 5\r\n", {}, 2, 128},
        {"NUL bytes end the text", "a 1\r\nb 2\0c 3\r\n\0\0\0d 4"s, {"a 1", "b 2"}, 2, 3},
        {"invalid UTF-8 kept as bytes",
         "\xff\xfe 5 \xc3\x28\r\n\xe4 7 \xed\xa0\x80\r\n",
         {"\xff\xfe 5 \xc3\x28", "\xe4 7 \xed\xa0\x80"},
         2,
         12},
        {"only CRs", "a 1\rb 2\r\rc 3\r", {"a 1", "b 2", "", "c 3"}, 4, 6},
        {"a million CRs", std::string(1'000'000, '\r'), {}, 1'000'000, 0},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("Playershoplog.html", c.bytes);
        LogLines lines;
        loadShopLog(disk(), dir.str() + "Playershoplog.html", lines);
        ASSERT_EQ(lines.size(), c.count);
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(lines[i], c.lines[i]);
        }
        EXPECT_EQ(sumCredits(lines), c.sum);
    }
}

}  // namespace
}  // namespace lw
