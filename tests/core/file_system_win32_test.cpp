// The Windows file system layer against the real system: attributes that only Windows has,
// sharing modes, file times outside the shop log's years and the settings file's replace.
#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"
#include "core/find_files.h"
#include "core/shop_log.h"
#include "support/temp_dir.h"

namespace lw {
namespace {

namespace fs = std::filesystem;

const FileSystem& sys() {
    return platformFileSystem();
}

std::string utf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return {s.begin(), s.end()};
}

void writeFile(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void setAttributes(const fs::path& p, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesW(p.c_str(), attributes)) << p;
}

// A handle that another program holds open on a file while the test runs.
class OtherHandle {
  public:
    OtherHandle(const fs::path& p, DWORD access, DWORD share)
        : h_(CreateFileW(p.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~OtherHandle() {
        if (ok()) {
            CloseHandle(h_);
        }
    }
    OtherHandle(const OtherHandle&) = delete;
    OtherHandle& operator=(const OtherHandle&) = delete;

    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

std::vector<std::string> names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) {
        out.push_back(e.name);
    }
    return out;
}

TEST(FileSystemWin32Test, ListsByUpperCasedNameWithTheKnownAttributes_OnWindows) {
    test::TempDir dir;
    const fs::path root = dir.path();
    for (const char* name : {"b.txt", "A.txt", "_x", "a1"}) {
        dir.write(name, "x");
    }
    dir.mkdir("Sub");
    writeFile(root / L"\u00c4rger", "umlaut");
    // Wine gives every file the archive attribute, Windows keeps what was set.
    setAttributes(root / "a1", FILE_ATTRIBUTE_ARCHIVE);
    setAttributes(root / "b.txt",
                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    setAttributes(root / "_x", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                   FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);

    const auto entries = sys().list(utf8(root));
    setAttributes(root / "b.txt", FILE_ATTRIBUTE_NORMAL);  // so that the folder can be removed

    // Upper-cased, "." sorts before "1" and "_" after every letter; no "." or ".." entries.
    ASSERT_EQ(names(entries),
              (std::vector<std::string>{"A.txt", "a1", "b.txt", "Sub", "_x", "\xc3\x84rger"}));
    EXPECT_EQ(entries[1].attributes, kArchive);
    EXPECT_EQ(entries[2].attributes, kHidden | kReadOnly | kArchive);
    EXPECT_EQ(entries[3].attributes & kDirectory, kDirectory);
    EXPECT_EQ(entries[4].attributes, kSystem | kArchive);
    EXPECT_EQ(sys().readFile(utf8(root) + "\\" + entries[5].name), "umlaut");
}

TEST(FileSystemWin32Test, ListOfWhatIsNoFolderIsEmpty_OnWindows) {
    test::TempDir dir;
    dir.write("file.txt", "x");
    dir.mkdir("empty");
    for (const char* rel : {"missing", "file.txt", "empty"}) {
        SCOPED_TRACE(rel);
        EXPECT_TRUE(sys().list(dir.str() + rel).empty());
    }
}

TEST(FileSystemWin32Test,
     FindFilesTakesHiddenFilesButNoSystemFileNorHiddenOrSystemFolder_OnWindows) {
    test::TempDir dir;
    const auto hiddenFile = dir.write("R\\prefs.xml");
    const auto readOnlyFile = dir.write("R\\ReadOnly\\PREFS.XML");
    const auto systemFile = dir.write("R\\System\\prefs.xml");
    dir.write("R\\HiddenFolder\\prefs.xml");
    dir.write("R\\SystemFolder\\prefs.xml");
    setAttributes(hiddenFile, FILE_ATTRIBUTE_HIDDEN);
    setAttributes(readOnlyFile, FILE_ATTRIBUTE_READONLY);
    setAttributes(systemFile, FILE_ATTRIBUTE_SYSTEM);
    setAttributes(dir.path() / "R" / "HiddenFolder", FILE_ATTRIBUTE_HIDDEN);
    setAttributes(dir.path() / "R" / "SystemFolder", FILE_ATTRIBUTE_SYSTEM);

    std::vector<std::string> found;
    FindFiles(dir.str() + "r\\prefs.xml", found);
    setAttributes(readOnlyFile, FILE_ATTRIBUTE_NORMAL);  // so that the folder can be removed

    EXPECT_EQ(found, (std::vector<std::string>{dir.str() + "r\\prefs.xml",
                                               dir.str() + "r\\ReadOnly\\PREFS.XML"}));
}

TEST(FileSystemWin32Test, NamesMatchWithoutRegardToCase_OnWindows) {
    test::TempDir dir;
    dir.write("Prefs\\Acc\\Playershoplog.html", "log");
    const std::string other = dir.str() + "PREFS\\acc\\";
    const std::string log = other + "PLAYERSHOPLOG.HTML";

    EXPECT_EQ(sys().resolve(log), log);
    EXPECT_EQ(sys().resolve(other + "missing.html"), std::nullopt);
    EXPECT_TRUE(sys().isDirectory(dir.str() + "prefs"));
    EXPECT_FALSE(sys().isDirectory(log));
    EXPECT_TRUE(sys().lastWriteYear(log).has_value());
    EXPECT_EQ(sys().readFile(log), "log");
    EXPECT_EQ(sys().readFileIfExists(log), "log");
    EXPECT_EQ(names(sys().list(other)), std::vector<std::string>{"Playershoplog.html"});

    const auto id = sys().folderId(dir.str() + "Prefs\\Acc");
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(sys().folderId(other), id);
    EXPECT_NE(sys().folderId(dir.str() + "Prefs"), id);
    EXPECT_EQ(sys().folderId(dir.str() + "missing"), std::nullopt);
}

// Sets the file's last-write time to 1 July of `year`, noon UTC, away from any year's edge in
// every time zone.
void setLastWriteYear(const fs::path& p, WORD year) {
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = 7;
    st.wDay = 1;
    st.wHour = 12;
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    OtherHandle h(p, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ);
    ASSERT_TRUE(h.ok());
    ASSERT_TRUE(SetFileTime(h.get(), nullptr, nullptr, &ft));
}

TEST(FileSystemWin32Test, LastWriteYearIsTheFilesLocalYearAndDecidesTheShopLog_OnWindows) {
    test::TempDir dir;
    const auto file = dir.write("Playershoplog.html", "x");
    // Years that Linux file systems can hold too, for the test under Wine.
    for (const WORD year : {1970, 1979, 1980, 2024, 2107, 2108, 2400}) {
        SCOPED_TRACE(year);
        setLastWriteYear(file, year);
        EXPECT_EQ(sys().lastWriteYear(utf8(file)), year);
        EXPECT_EQ(shopLogExists(sys(), utf8(file)), year >= 1980 && year <= 2107);
    }
}

TEST(FileSystemWin32Test, LastWriteYearOfWhatIsNoFileIsNone_OnWindows) {
    test::TempDir dir;
    dir.mkdir("Playershoplog.html");
    EXPECT_EQ(sys().lastWriteYear(dir.str() + "Playershoplog.html"), std::nullopt);
    EXPECT_EQ(sys().lastWriteYear(dir.str() + "missing.html"), std::nullopt);
}

TEST(FileSystemWin32Test, ReadFileSharesOnlyWithReaders_OnWindows) {
    struct Case {
        const char* name;
        DWORD access;
        DWORD share;
        bool readable;
    };
    const Case cases[] = {
        {"no other handle", 0, 0, true},
        {"another reader", GENERIC_READ, FILE_SHARE_READ, true},
        {"a writer that shares everything", GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false},
        {"a reader that refuses readers", GENERIC_READ, 0, false},
    };
    test::TempDir dir;
    const auto file = dir.write("Playershoplog.html", "line\r\n");
    const std::string path = utf8(file);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<OtherHandle> other;
        if (c.access != 0) {
            other.emplace(file, c.access, c.share);
            ASSERT_TRUE(other->ok());
        }
        EXPECT_EQ(sys().readFileIfExists(path).has_value(), c.readable);
        if (c.readable) {
            EXPECT_EQ(sys().readFile(path), "line\r\n");
        } else {
            EXPECT_THROW(sys().readFile(path), Error);
        }
    }
}

TEST(FileSystemWin32Test, ReadFileFailureNamesThePathAndTheSystemsReason_OnWindows) {
    test::TempDir dir;
    dir.mkdir("folder");
    for (const char* rel : {"missing.html", "folder"}) {
        SCOPED_TRACE(rel);
        const std::string path = dir.str() + rel;
        const std::string head = "Cannot open file \"" + path + "\". ";
        try {
            sys().readFile(path);
            FAIL() << "read what cannot be read";
        } catch (const Error& e) {
            const std::string message = e.what();
            ASSERT_GT(message.size(), head.size());
            EXPECT_EQ(message.substr(0, head.size()), head);
            // The error box adds the full stop; the system's line break must not stay.
            EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << message;
            EXPECT_NE(message.back(), '.') << message;
        }
        EXPECT_EQ(sys().readFileIfExists(path), std::nullopt);
    }
}

TEST(FileSystemWin32Test, ReplaceFileCreatesAndReplacesWholeLeavingNoTemporary_OnWindows) {
    test::TempDir dir;
    const std::string path = dir.str() + "LedgerwickCfg.ini";
    ASSERT_TRUE(sys().replaceFile(path, "[a]\r\nx=long value\r\n"));
    EXPECT_EQ(dir.read("LedgerwickCfg.ini"), "[a]\r\nx=long value\r\n");
    ASSERT_TRUE(sys().replaceFile(path, "[a]\r\n"));
    EXPECT_EQ(dir.read("LedgerwickCfg.ini"), "[a]\r\n");
    EXPECT_EQ(names(sys().list(dir.str())), std::vector<std::string>{"LedgerwickCfg.ini"});
}

TEST(FileSystemWin32Test, FailedReplaceKeepsTheOldFileWholeAndLeavesNoTemporary_OnWindows) {
    struct Case {
        const char* name;
        DWORD access;  // of a handle held open on the target, 0 for none
        DWORD share;
        DWORD attributes;  // of the target
    };
    const Case cases[] = {
        {"held open without delete sharing", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
         FILE_ATTRIBUTE_NORMAL},
        {"held open for writing", GENERIC_WRITE, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL},
        {"read-only", 0, 0, FILE_ATTRIBUTE_READONLY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const auto file = dir.write("LedgerwickCfg.ini", "[a]\r\nx=1\r\n");
        setAttributes(file, c.attributes);
        {
            std::optional<OtherHandle> other;
            if (c.access != 0) {
                other.emplace(file, c.access, c.share);
                ASSERT_TRUE(other->ok());
            }
            EXPECT_FALSE(sys().replaceFile(utf8(file), "[a]\r\nx=2\r\n"));
        }
        setAttributes(file, FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(dir.read("LedgerwickCfg.ini"), "[a]\r\nx=1\r\n");
        EXPECT_EQ(names(sys().list(dir.str())), std::vector<std::string>{"LedgerwickCfg.ini"});
    }
}

TEST(FileSystemWin32Test, ReplaceInAMissingFolderFails_OnWindows) {
    test::TempDir dir;
    EXPECT_FALSE(sys().replaceFile(dir.str() + "missing\\LedgerwickCfg.ini", "x"));
    EXPECT_TRUE(sys().list(dir.str()).empty());
}

}  // namespace
}  // namespace lw

#endif  // _WIN32
