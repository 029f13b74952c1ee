#include "core/roster.h"

#include <gtest/gtest.h>

#include "core/find_files.h"
#include "core/path.h"
#include "support/temp_dir.h"

namespace lw {
namespace {

using Roster = std::vector<TCharacter>;

TCharacter scanned(const char* charDir, const char* accountDir) {
    return {"", charDir, accountDir};
}

// What the window's scan does: search, turn paths into entries, merge.
Roster scan(const std::string& aoDir) {
    std::vector<std::string> paths;
    FindFiles(prefsSearchPath(aoDir), paths);
    return getallchars(platformFileSystem(), aoDir, paths);
}

TEST(RosterPaths, BuiltOnTheGameDirectory) {
    const std::string ao = nativePath("C:\\AO\\");
    EXPECT_EQ(shopLogPath(ao, {"Trader", "Char1", "acc"}),
              nativePath("C:\\AO\\Prefs\\acc\\Char1\\Playershoplog.html"));
    EXPECT_EQ(prefsSearchPath(ao), nativePath("C:\\AO\\prefs\\prefs.xml"));
    EXPECT_EQ(shopLogSearchPath(ao), nativePath("C:\\AO\\Prefs\\playershoplog.html"));
    EXPECT_EQ(shopLogPath(nativePath("C:\\AO"), {"", "c", "a"}),
              nativePath("C:\\AOPrefs\\a\\c\\Playershoplog.html"))
        << "plain concatenation onto a directory stored without its separator";
}

TEST(Getallchars, CharacterFoldersTwoLevelsBelowPrefs) {
    test::TempDir dir;
    for (const char* file : {
             "AO/Prefs/prefs.xml",
             "AO/Prefs/Acc1/prefs.xml",
             "AO/Prefs/Acc1/Char11/prefs.xml",
             "AO/Prefs/Acc1/char0/prefs.xml",
             "AO/Prefs/Acc1/Char12/Sub/prefs.xml",
             "AO/Prefs/Acc1/Char13/prefs.xml",
             "AO/Prefs/Acc1/Char14/prefs.xml",
             "AO/Prefs/Acc1/Char14/Sub/Deeper/prefs.xml",
             "AO/Prefs/Acc1/NoPrefs/other.xml",
             "AO/Prefs/Acc1/.Dotted/prefs.xml",
             "AO/Prefs/.hidden/CharH/prefs.xml",
             // In another account, as Windows keeps no two names that differ only in case.
             "AO/Prefs/Acc2/Char0/prefs.xml",
             "AO/Prefs/Acc2/Char13/prefs.xml",
             "AO/Prefs/Acc2/Extra/prefs.xml",
         }) {
        dir.write(file);
    }
    const Roster entries = scan(dir.str() + nativePath("AO\\"));
    EXPECT_EQ(entries, (Roster{scanned("char0", "Acc1"), scanned("Char11", "Acc1"),
                               scanned("Char12", "Acc1"), scanned("Char13", "Acc1"),
                               scanned("Char14", "Acc1"), scanned("Char14", "Acc1"),
                               scanned("Char13", "Acc2"), scanned("Extra", "Acc2")}));

    Roster roster;
    std::int32_t count = 0;
    mergeNewChars(roster, count, entries);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(roster, (Roster{scanned("char0", "Acc1"), scanned("Char11", "Acc1"),
                              scanned("Char12", "Acc1"), scanned("Char13", "Acc1"),
                              scanned("Char14", "Acc1"), scanned("Extra", "Acc2")}));
}

TEST(Getallchars, LetterCaseOfFoldersAndFilesDoesNotMatter) {
    test::TempDir dir;
    dir.write("AO/PREFS/Acc/Upper/PREFS.XML");
    dir.write("AO/PREFS/Acc/Mixed/Prefs.Xml");
    EXPECT_EQ(scan(dir.str() + nativePath("AO\\")),
              (Roster{scanned("Mixed", "Acc"), scanned("Upper", "Acc")}));
    test::TempDir lower;
    lower.write("AO/prefs/acc/char/prefs.xml");
    EXPECT_EQ(scan(lower.str() + nativePath("ao\\")), (Roster{scanned("char", "acc")}))
        << "a game directory typed in another case";
}

TEST(Getallchars, SameCharactersWhateverTheDepthOfTheGameDirectory) {
    for (const char* ao : {"AO", "Games\\Anarchy\\Online\\AO"}) {
        SCOPED_TRACE(ao);
        test::TempDir dir;
        dir.write(nativePath(std::string(ao) + "\\Prefs\\Acc\\Char\\prefs.xml"));
        EXPECT_EQ(scan(dir.str() + nativePath(std::string(ao) + "\\")),
                  (Roster{scanned("Char", "Acc")}));
    }
    test::TempDir dir;
    dir.write("AOPrefs/Acc/Char/prefs.xml");
    EXPECT_EQ(scan(dir.str() + "AO"), (Roster{scanned("Char", "Acc")}))
        << "a directory stored without its separator joins the next name directly";
}

TEST(Getallchars, NoPrefsFolderGivesNothing) {
    test::TempDir dir;
    dir.write("AO/Anarchy.exe");
    EXPECT_TRUE(scan(dir.str() + nativePath("AO\\")).empty());
    EXPECT_TRUE(scan(dir.str() + nativePath("Missing\\")).empty());
}

TEST(Getallchars, OnPathRunsOncePerPathBeforeItIsLookedAt) {
    test::TempDir dir;
    dir.write("AO/Prefs/prefs.xml");
    dir.write("AO/Prefs/Acc/Char/prefs.xml");
    std::string ao = dir.str() + nativePath("AO\\");
    std::vector<std::string> paths;
    FindFiles(prefsSearchPath(ao), paths);
    paths.push_back("not below Prefs");
    int calls = 0;
    const auto entries = getallchars(platformFileSystem(), ao, paths, [&] {
        ++calls;
        // A handler that runs here may change the game directory; the running scan keeps
        // the one it started with.
        ao.assign(ao.size(), 'x');
    });
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(entries, (Roster{scanned("Char", "Acc")}));
}

TEST(Getallchars, NoLimitOnTheNumberOfCharacters) {
    test::TempDir dir;
    Roster expected;
    for (int i = 100; i < 250; ++i) {
        const std::string name = "Char" + std::to_string(i);
        dir.write("AO/Prefs/Acc/" + name + "/prefs.xml");
        expected.push_back({"", name, "Acc"});
    }
    const Roster entries = scan(dir.str() + nativePath("AO\\"));
    EXPECT_EQ(entries, expected);
    Roster roster;
    std::int32_t count = 0;
    mergeNewChars(roster, count, entries);
    EXPECT_EQ(count, 150);
    EXPECT_EQ(roster, expected);
}

TEST(MergeNewChars, AppendsOnlyCharDirsTheRosterLacks) {
    const Roster saved = {{"Trader", "Char13", "OldAcc"}, {"", "Char11", "Acc1"}};
    struct Case {
        const char* name;
        Roster roster;
        std::int32_t count;
        Roster scanned;
        Roster expected;
        std::int32_t expectedCount;
    };
    const Case cases[] = {
        {"known character keeps its account and name",
         saved,
         2,
         {scanned("Char13", "Acc2"), scanned("Char12", "Acc1")},
         {saved[0], saved[1], scanned("Char12", "Acc1")},
         3},
        {"second run adds nothing", saved, 2, {scanned("Char11", "Acc1")}, saved, 2},
        {"entries appended in the same merge take part",
         {},
         0,
         {scanned("A", "1"), scanned("B", "1"), scanned("A", "2")},
         {scanned("A", "1"), scanned("B", "1")},
         2},
        {"comparison is exact",
         saved,
         2,
         {scanned("char13", "Acc1")},
         {saved[0], saved[1], scanned("char13", "Acc1")},
         3},
        {"entries beyond the count are no roster entries",
         {saved[0], saved[1], scanned("Stale", "x")},
         2,
         {scanned("Stale", "Acc")},
         {saved[0], saved[1], scanned("Stale", "Acc")},
         3},
        {"spare room is cut to the count on an append",
         {saved[0], saved[1], {}, {}, {}},
         2,
         {scanned("New", "Acc")},
         {saved[0], saved[1], scanned("New", "Acc")},
         3},
        {"spare room stays when nothing is appended",
         {saved[0], saved[1], {}, {}},
         2,
         {scanned("Char11", "Acc1")},
         {saved[0], saved[1], {}, {}},
         2},
        {"negative count is an empty roster",
         {saved[0]},
         -4,
         {scanned("Char13", "Acc")},
         {scanned("Char13", "Acc")},
         1},
        {"negative count stays without an append", {saved[0]}, -4, {}, {saved[0]}, -4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Roster roster = c.roster;
        std::int32_t count = c.count;
        mergeNewChars(roster, count, c.scanned);
        EXPECT_EQ(roster, c.expected);
        EXPECT_EQ(count, c.expectedCount);
    }
}

}  // namespace
}  // namespace lw
