#include "core/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/error.h"
#include "core/path.h"
#include "support/file_times.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace lw {
namespace {

namespace stdfs = std::filesystem;

TEST(MatchesPattern, WindowsWildcardsWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"prefs.xml", "prefs.xml", true},
        {"Prefs.XML", "prefs.xml", true},
        {"prefs.xml.bak", "prefs.xml", false},
        {"prefs.xm", "prefs.xml", false},
        {"xprefs.xml", "prefs.xml", false},
        {"Playershoplog.html", "playershoplog.html", true},
        {"no dot", "*.*", true},
        {".hidden", "*.*", true},
        {"anything", "*", true},
        {"", "*", true},
        {"log.txt", "*.txt", true},
        {"log.txt.old", "*.txt", false},
        {"a.b.c", "*.c", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"aXbXc", "a*b*c", true},
        {"aXbX", "a*b*c", false},
        {"mississippi", "*sip*", true},
        {"\xE4rger.xml", "\xC4RGER.xml", false},  // only ASCII letters fold
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches);
    }
}

std::set<std::string> filesIn(const stdfs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : stdfs::directory_iterator(folder)) {
        names.insert(e.path().filename().string());
    }
    return names;
}

const FileSystem& fs() {
    return platformFileSystem();
}

TEST(FileSystemList, MissingFolderOrFileListsNothing) {
    test::TempDir dir;
    dir.write("file");
    EXPECT_TRUE(fs().list(dir.str() + "missing").empty());
    EXPECT_TRUE(fs().list(dir.str() + "file").empty());
}

TEST(FileSystemIsDirectory, FolderInAnyCaseButNoFile) {
    test::TempDir dir;
    dir.write("Prefs/Acc/prefs.xml");
    EXPECT_TRUE(fs().isDirectory(dir.str() + nativePath("Prefs\\Acc")));
    EXPECT_TRUE(fs().isDirectory(dir.str() + nativePath("prefs\\ACC\\")));
    EXPECT_FALSE(fs().isDirectory(dir.str() + nativePath("prefs\\Acc\\prefs.xml")));
    EXPECT_FALSE(fs().isDirectory(dir.str() + nativePath("prefs\\Other")));
}

TEST(FileSystemReadFile, WholeContentInAnyCase) {
    test::TempDir dir;
    std::string big(3 * 1024 * 1024 + 7, 'a');
    big[12345] = '\0';
    big.back() = 'z';
    dir.write("Acc/Char/Playershoplog.html", big);
    dir.write("empty.html");
    EXPECT_EQ(fs().readFile(dir.str() + nativePath("acc\\char\\playershoplog.html")), big);
    EXPECT_EQ(fs().readFile(dir.str() + "empty.html"), "");
    EXPECT_EQ(fs().readFileIfExists(dir.str() + nativePath("ACC\\Char\\Playershoplog.html")), big);
}

// The size that loading all logs reserves from; a folder or nothing there has none.
TEST(FileSystemFileSize, SizeOfAFileInAnyCaseOnly) {
    test::TempDir dir;
    dir.write("Acc/Char/Playershoplog.html", std::string(5000, 'x'));
    dir.write("empty.html");
    EXPECT_EQ(fs().fileSize(dir.str() + nativePath("acc\\CHAR\\playershoplog.html")), 5000u);
    EXPECT_EQ(fs().fileSize(dir.str() + "empty.html"), 0u);
    EXPECT_EQ(fs().fileSize(dir.str() + nativePath("Acc\\Char")), std::nullopt);
    EXPECT_EQ(fs().fileSize(dir.str() + nativePath("Acc\\Missing.html")), std::nullopt);
}

TEST(FileSystemReplaceFile, FailureLeavesOldContentAndNoTemporaryFile) {
    test::TempDir dir;
    dir.mkdir("Cfg.ini");
    EXPECT_FALSE(fs().replaceFile(dir.str() + "Cfg.ini", "new")) << "a folder is in the way";
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"Cfg.ini"});
    EXPECT_FALSE(fs().replaceFile(dir.str() + nativePath("missing\\Cfg.ini"), "new"));
    EXPECT_FALSE(stdfs::exists(dir.path() / "missing"));
}

#ifndef _WIN32

std::vector<std::string> namesOf(const std::vector<DirEntry>& entries) {
    std::vector<std::string> names;
    for (const auto& e : entries) {
        names.push_back(e.name);
    }
    return names;
}

TEST(PosixList, NtfsOrderWithRawBytesBreakingCaseTies_OnPosix) {
    test::TempDir dir;
    for (const char* name : {"b", "_x", "abc", "A", "ABC", "Abc", "a", "~z", "B1", "Ab"}) {
        dir.write(name);
    }
    // Upper-cased, "_" (0x5F) sorts after every letter; names equal but for case go by bytes.
    const std::vector<std::string> expected = {"A",   "a", "Ab", "ABC", "Abc",
                                               "abc", "b", "B1", "_x",  "~z"};
    EXPECT_EQ(namesOf(fs().list(dir.str())), expected);
}

TEST(PosixList, AttributesFollowWindowsRules_OnPosix) {
    test::TempDir dir;
    dir.write("file.txt");
    dir.write(".dotfile");
    dir.mkdir("folder");
    dir.mkdir(".dotfolder");
    const auto outside = dir.mkdir("outside/target");
    stdfs::create_directory_symlink(outside, dir.path() / "linkToFolder");
    stdfs::create_symlink(dir.path() / "file.txt", dir.path() / "linkToFile");
    stdfs::create_symlink(dir.path() / "nowhere", dir.path() / "dangling");

    const auto entries = fs().list(dir.str());
    auto attributesOf = [&](const std::string& name) {
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const DirEntry& e) { return e.name == name; });
        return it == entries.end() ? 0xFFFFFFFFu : it->attributes;
    };
    EXPECT_EQ(entries.size(), 8u) << "no . or .. entries";
    EXPECT_EQ(attributesOf("file.txt"), kArchive);
    EXPECT_EQ(attributesOf(".dotfile"), kArchive | kHidden);
    EXPECT_EQ(attributesOf("folder"), kDirectory);
    EXPECT_EQ(attributesOf(".dotfolder"), kDirectory | kHidden);
    EXPECT_EQ(attributesOf("linkToFolder"), kDirectory);
    EXPECT_EQ(attributesOf("linkToFile"), kArchive);
    EXPECT_EQ(attributesOf("dangling"), kArchive);
}

TEST(PosixResolve, TakesExactSpellingElseFirstCaseVariantInListingOrder_OnPosix) {
    test::TempDir dir;
    dir.write("Prefs/Acc/Char/prefs.xml");
    dir.mkdir("Both/x");
    dir.mkdir("both/y");
    dir.mkdir("TWIN");
    dir.mkdir("Twin");
    dir.mkdir("twin");
    const std::string root = dir.str();
    struct Case {
        const char* name;
        std::string path;
        std::optional<std::string> resolved;
    };
    const Case cases[] = {
        {"exact", root + "Prefs/Acc/Char/prefs.xml", root + "Prefs/Acc/Char/prefs.xml"},
        {"every component in other case", root + "PREFS/acc/cHAR/Prefs.XML",
         root + "Prefs/Acc/Char/prefs.xml"},
        {"trailing separator kept", root + "prefs/acc/", root + "Prefs/Acc/"},
        {"exact spelling wins over an earlier variant", root + "both/y", root + "both/y"},
        {"exact folder, then a name only its variant has", root + "both/X", std::nullopt},
        {"variant taken first in listing order", root + "tWIN", root + "TWIN"},
        {"missing component", root + "Prefs/Nobody/prefs.xml", std::nullopt},
        {"below a file", root + "Prefs/Acc/Char/prefs.xml/x", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fs().resolve(c.path), c.resolved);
    }
}

TEST(PosixLastWriteYear, LocalYearOfAFileOnly_OnPosix) {
    test::TempDir dir;
    const auto file = dir.write("Char/Playershoplog.html", "x");
    test::setLastWriteTime(file, test::localNoon(2015));
    dir.mkdir("Char/folder.html");
    EXPECT_EQ(fs().lastWriteYear(dir.str() + "Char/Playershoplog.html"), 2015);
    EXPECT_EQ(fs().lastWriteYear(dir.str() + "char/PLAYERSHOPLOG.HTML"), 2015);
    EXPECT_EQ(fs().lastWriteYear(dir.str() + "Char/folder.html"), std::nullopt);
    EXPECT_EQ(fs().lastWriteYear(dir.str() + "Char/missing.html"), std::nullopt);
}

std::string readError(std::string_view path) {
    try {
        fs().readFile(path);
    } catch (const Error& e) {
        return e.what();
    }
    return "<no error>";
}

TEST(PosixReadFile, FailureNamesThePathAsWrittenAndTheSystemsReason_OnPosix) {
    test::TempDir dir;
    dir.mkdir("Char/Playershoplog.html");
    dir.write("file");
    const std::string missing = dir.str() + "char/nothing.html";
    EXPECT_EQ(readError(missing),
              "Cannot open file \"" + missing + "\". No such file or directory");
    const std::string folder = dir.str() + "char/playershoplog.html";
    EXPECT_EQ(readError(folder), "Cannot open file \"" + folder + "\". Is a directory");
    const std::string belowFile = dir.str() + "file/x";
    EXPECT_EQ(readError(belowFile), "Cannot open file \"" + belowFile + "\". Not a directory");
    EXPECT_EQ(fs().readFileIfExists(missing), std::nullopt);
    EXPECT_EQ(fs().readFileIfExists(folder), std::nullopt);
}

TEST(PosixReadFile, UnreadableFileFailsWithPermissionDenied_OnPosix) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads files whatever their permissions";
    }
    test::TempDir dir;
    const auto file = dir.write("locked.html", "secret");
    stdfs::permissions(file, stdfs::perms::none);
    const std::string path = dir.str() + "locked.html";
    EXPECT_EQ(readError(path), "Cannot open file \"" + path + "\". Permission denied");
}

TEST(PosixReadFile, SpecialFileIsRefusedInsteadOfBlocking_OnPosix) {
    test::TempDir dir;
    const auto fifo = dir.path() / "playershoplog.html";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readError(fifo.string()),
              "Cannot open file \"" + fifo.string() + "\". Invalid argument");
}

TEST(PosixReplaceFile, WritesNewAndReplacesOldKeepingItsPermissions_OnPosix) {
    test::TempDir dir;
    EXPECT_TRUE(fs().replaceFile(dir.str() + "Cfg.ini", "first"));
    EXPECT_EQ(dir.read("Cfg.ini"), "first");

    stdfs::permissions(dir.path() / "Cfg.ini", stdfs::perms::owner_read |
                                                   stdfs::perms::owner_write |
                                                   stdfs::perms::group_read);
    EXPECT_TRUE(fs().replaceFile(dir.str() + "Cfg.ini", "second, longer"));
    EXPECT_EQ(dir.read("Cfg.ini"), "second, longer");
    EXPECT_EQ(stdfs::status(dir.path() / "Cfg.ini").permissions(),
              stdfs::perms::owner_read | stdfs::perms::owner_write | stdfs::perms::group_read);

    EXPECT_TRUE(fs().replaceFile(dir.str() + "Cfg.ini", ""));
    EXPECT_EQ(dir.read("Cfg.ini"), "");
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"Cfg.ini"});
}

TEST(PosixReplaceFile, ReplacesTheFileOfAnotherCaseInsteadOfAddingOne_OnPosix) {
    test::TempDir dir;
    dir.write("App/LedgerwickCfg.ini", "old");
    EXPECT_TRUE(fs().replaceFile(dir.str() + "app/LEDGERWICKCFG.INI", "new"));
    EXPECT_EQ(dir.read("App/LedgerwickCfg.ini"), "new");
    EXPECT_EQ(filesIn(dir.path() / "App"), std::set<std::string>{"LedgerwickCfg.ini"});
    EXPECT_TRUE(fs().replaceFile(dir.str() + "app/Other.ini", "x"));
    EXPECT_EQ(dir.read("App/Other.ini"), "x");
}

// Sets the file size limit for the life of the object, so that writes past it fail as on a
// full disk (EFBIG instead of ENOSPC) after a short write.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(PosixReplaceFile, WriteThatRunsOutOfSpaceKeepsOldContent_OnPosix) {
    test::TempDir dir;
    dir.write("Cfg.ini", "old");
    bool replaced = true;
    {
        const FileSizeLimit limit(1000);
        replaced = fs().replaceFile(dir.str() + "Cfg.ini", std::string(5000, 'n'));
    }
    EXPECT_FALSE(replaced);
    EXPECT_EQ(dir.read("Cfg.ini"), "old");
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"Cfg.ini"});
}

TEST(PosixReplaceFile, ReadOnlyFolderKeepsOldContent_OnPosix) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into folders whatever their permissions";
    }
    test::TempDir dir;
    const auto folder = dir.mkdir("App");
    dir.write("App/Cfg.ini", "old");
    stdfs::permissions(folder, stdfs::perms::owner_read | stdfs::perms::owner_exec);
    EXPECT_FALSE(fs().replaceFile(dir.str() + "App/Cfg.ini", "new"));
    stdfs::permissions(folder, stdfs::perms::owner_all);
    EXPECT_EQ(dir.read("App/Cfg.ini"), "old");
    EXPECT_EQ(filesIn(folder), std::set<std::string>{"Cfg.ini"});
}

#endif  // _WIN32

}  // namespace
}  // namespace lw
