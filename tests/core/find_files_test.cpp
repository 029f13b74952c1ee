#include "core/find_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/path.h"
#include "support/temp_dir.h"

namespace lw {
namespace {

namespace stdfs = std::filesystem;
using Paths = std::vector<std::string>;

// A tree given as listings, for attributes Linux never has and failures it cannot be made to
// show. Folder paths end in the separator; a folder without a listing cannot be listed.
class FakeTree : public FileSystem {
  public:
    std::map<std::string, std::vector<DirEntry>> listings;

    std::optional<std::string> resolve(std::string_view path) const override {
        return std::string(path);
    }
    std::vector<DirEntry> list(const std::string& folder) const override {
        const auto it = listings.find(folder);
        return it == listings.end() ? std::vector<DirEntry>{} : it->second;
    }
    std::optional<FolderId> folderId(const std::string&) const override { return std::nullopt; }
    bool isDirectory(std::string_view) const override { return false; }
    std::optional<int> lastWriteYear(std::string_view) const override { return std::nullopt; }
    std::string readFile(std::string_view) const override { return {}; }
    std::optional<std::string> readFileIfExists(const std::string&) const override {
        return std::nullopt;
    }
    bool replaceFile(const std::string&, std::string_view) const override { return false; }
};

TEST(FindFiles, OwnMatchesFirstThenEachSubFolderDepthFirst) {
    test::TempDir dir;
    dir.write("Prefs/B/C2/prefs.xml");
    dir.write("Prefs/A/C1/prefs.xml");
    dir.write("Prefs/A/prefs.xml");
    dir.write("Prefs/prefs.xml");
    dir.write("Prefs/A/C1/other.xml");
    Paths found;
    FindFiles(dir.str() + nativePath("Prefs\\prefs.xml"), found);
    const std::string prefs = dir.str() + nativePath("Prefs\\");
    EXPECT_EQ(found, (Paths{prefs + "prefs.xml", prefs + nativePath("A\\prefs.xml"),
                            prefs + nativePath("A\\C1\\prefs.xml"),
                            prefs + nativePath("B\\C2\\prefs.xml")}));
}

TEST(FindFiles, CallersFolderSpellingThenNamesAsOnDisk) {
    test::TempDir dir;
    dir.write("Prefs/Acc1/Char11/PREFS.XML");
    dir.write("Prefs/Acc1/Char11/Sub/Prefs.xml");
    Paths found;
    FindFiles(dir.str() + nativePath("prefs\\prefs.xml"), found);
    const std::string prefs = dir.str() + nativePath("prefs\\");
    EXPECT_EQ(found, (Paths{prefs + nativePath("Acc1\\Char11\\PREFS.XML"),
                            prefs + nativePath("Acc1\\Char11\\Sub\\Prefs.xml")}));
}

TEST(FindFiles, DotNamesAreHiddenAndOnlyFilesAreFound) {
    test::TempDir dir;
    dir.write("R/.hidden/prefs.xml");
    dir.write("R/.hidden/.prefs.xml");
    dir.write("R/my.chars/prefs.xml");
    dir.write("R/prefs.xml/prefs.xml");
    dir.write("R/.prefs.xml");
    const std::string r = dir.str() + nativePath("R\\");
    Paths found;
    FindFiles(r + "prefs.xml", found);
    EXPECT_EQ(found, (Paths{r + nativePath("my.chars\\prefs.xml"),
                            r + nativePath("prefs.xml\\prefs.xml")}))
        << "a dot folder is not searched, a folder named like the file is searched, not found";
    found.clear();
    FindFiles(r + ".prefs.xml", found);
    EXPECT_EQ(found, (Paths{r + ".prefs.xml"}));
}

TEST(FindFiles, FiltersFollowTheAttributes) {
    const std::string r = nativePath("R\\");
    FakeTree tree;
    tree.listings[r] = {
        {"a", kDirectory},
        {"hiddenAttr", kDirectory | kHidden},
        {"prefs.xml", kArchive | kHidden},
        {"prefs.xml", kReadOnly},
        {"prefs.xml", kArchive | kSystem},
        {"prefs.xml", kDirectory},
        {"system", kDirectory | kSystem},
        {"unlistable", kDirectory},
        {"z", kDirectory},
    };
    tree.listings[r + "a" + kSep] = {{"prefs.xml", 0}};
    tree.listings[r + "hiddenAttr" + kSep] = {{"prefs.xml", kArchive}};
    tree.listings[r + "system" + kSep] = {{"prefs.xml", kArchive}};
    tree.listings[r + "prefs.xml" + kSep] = {{"prefs.xml", kArchive}};
    tree.listings[r + "z" + kSep] = {{"prefs.xml", kArchive}};
    Paths found;
    FindFiles(r + "prefs.xml", found, tree);
    const std::string sep(1, kSep);
    EXPECT_EQ(found, (Paths{r + "prefs.xml", r + "prefs.xml", r + "a" + sep + "prefs.xml",
                            r + "prefs.xml" + sep + "prefs.xml", r + "z" + sep + "prefs.xml"}))
        << "hidden and read-only files found, system files and folders not; hidden, system and "
           "unlistable folders add nothing while their siblings are searched";
}

TEST(FindFiles, AppendsToTheCallersListAndAddsNothingForAMissingFolder) {
    test::TempDir dir;
    dir.write("Prefs/A/prefs.xml");
    Paths found{"kept"};
    FindFiles(dir.str() + nativePath("Prefs\\prefs.xml"), found);
    FindFiles(dir.str() + nativePath("Prefs\\prefs.xml"), found);
    FindFiles(dir.str() + nativePath("Missing\\prefs.xml"), found);
    FindFiles(dir.str() + nativePath("Prefs\\A\\prefs.xml\\prefs.xml"), found);
    const std::string match = dir.str() + nativePath("Prefs\\A\\prefs.xml");
    EXPECT_EQ(found, (Paths{"kept", match, match}));
}

// Links to folders need a privilege on Windows that tests do not have.
#ifndef _WIN32
TEST(FindFiles, LinkBackUpTheTreeEndsWhileOtherLinksAreFollowed_OnPosix) {
    test::TempDir dir;
    dir.write("Prefs/A/C1/prefs.xml");
    dir.write("Outside/prefs.xml");
    stdfs::create_directory_symlink(dir.path() / "Prefs", dir.path() / "Prefs/A/C1/up");
    stdfs::create_directory_symlink(dir.path() / "Outside", dir.path() / "Prefs/B");
    stdfs::create_directory_symlink(dir.path() / "Prefs/A/C1", dir.path() / "Prefs/C");
    Paths found;
    FindFiles(dir.str() + "Prefs/prefs.xml", found);
    const std::string prefs = dir.str() + "Prefs/";
    EXPECT_EQ(found,
              (Paths{prefs + "A/C1/prefs.xml", prefs + "B/prefs.xml", prefs + "C/prefs.xml"}))
        << "C leads to a folder searched before, not to one being searched, so it is searched";
}
#endif

// Windows paths end at MAX_PATH characters, far short of this; the next test shows the depth
// on every platform.
#ifndef _WIN32
TEST(FindFiles, ThousandFoldersDeep_OnPosix) {
    test::TempDir dir;
    std::string rel = "Prefs";
    dir.mkdir(rel);
    for (int i = 0; i < 1000; ++i) {
        rel += "/d";
        stdfs::create_directory(dir.path() / rel);
    }
    dir.write(rel + "/prefs.xml");
    dir.write("Prefs/z/prefs.xml");
    Paths found;
    FindFiles(dir.str() + "Prefs/prefs.xml", found);
    EXPECT_EQ(found, (Paths{dir.str() + rel + "/prefs.xml", dir.str() + "Prefs/z/prefs.xml"}));
}
#endif

// Deeper than any real path may be, to show that depth costs no stack.
class EndlessChain : public FakeTree {
  public:
    explicit EndlessChain(std::size_t depth) : depth_(depth) {}
    std::vector<DirEntry> list(const std::string& folder) const override {
        if (levelOf(folder) < depth_) {
            return {{"d", kDirectory}};
        }
        return {{"prefs.xml", kArchive}};
    }
    std::optional<FolderId> folderId(const std::string& folder) const override {
        return FolderId{1, levelOf(folder)};
    }

  private:
    // "R/" then one "d/" per level.
    static std::size_t levelOf(const std::string& folder) { return folder.size() / 2 - 1; }
    std::size_t depth_;
};

TEST(FindFiles, DepthIsNotBoundedByTheStack) {
    constexpr std::size_t kDepth = 200'000;
    EndlessChain chain(kDepth);
    Paths found;
    FindFiles(nativePath("R\\prefs.xml"), found, chain);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].size(), 2 + 2 * kDepth + 9);
}

}  // namespace
}  // namespace lw
