#include "core/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/path.h"
#include "support/memory_file_system.h"
#include "support/text_lines.h"

namespace lw {
namespace {

const std::string kPath = "/opt/ledgerwick/LedgerwickCfg.ini";

TCharacter character(std::string charDir, std::string accountDir, std::string name = {}) {
    return {std::move(name), std::move(charDir), std::move(accountDir)};
}

class SettingsTest : public ::testing::Test {
  protected:
    test::MemoryFileSystem fs;
    TIniFile ini{kPath, fs};

    const std::string& file() const { return fs.files.at(kPath); }
};

TEST(SettingsPath, PutsTheFileInTheExecutableFolder) {
    const std::string folder = std::string("opt") + kSep + "lw";
    const std::string expected = folder + kSep + "LedgerwickCfg.ini";
    EXPECT_EQ(settingsPath(folder), expected);
    EXPECT_EQ(settingsPath(folder + kSep), expected);
}

TEST(CharLine, ParsesTheFieldsOfASettingsLine) {
    struct Case {
        const char* name;
        std::string_view line;
        std::optional<TCharacter> parsed;
    };
    const Case cases[] = {
        {"named", "Char1,acc,Trader", character("Char1", "acc", "Trader")},
        {"unnamed ends in the comma", "Char1,acc,", character("Char1", "acc")},
        {"no third field", "Char1,acc", character("Char1", "acc")},
        {"one field", "Char1", character("Char1", "")},
        {"name with a comma read whole", "Char1,acc,Bob, the seller",
         character("Char1", "acc", "Bob, the seller")},
        {"four fields: the rest is the name", "Char1,acc,Name,extra",
         character("Char1", "acc", "Name,extra")},
        {"empty account", "Char1,,Name", character("Char1", "", "Name")},
        {"empty line holds no character", "", std::nullopt},
        {"empty CharDir holds no character", ",acc,Name", std::nullopt},
        {"commas only", ",,", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseCharLine(c.line), c.parsed);
    }
}

TEST(CharLine, WritesFieldsJoinedByCommasAndReadsThemBack) {
    const TCharacter characters[] = {
        character("Char1", "acc", "Trader"),
        character("Char2", "acc"),
        character("Char3", "acc", "Bob, the seller"),
    };
    EXPECT_EQ(charLine(characters[0]), "Char1,acc,Trader");
    EXPECT_EQ(charLine(characters[1]), "Char2,acc,");
    for (const TCharacter& c : characters) {
        EXPECT_EQ(parseCharLine(charLine(c)), c);
    }
}

TEST_F(SettingsTest, WorkedExampleOfAFirstRun) {
    writeGameDir(ini, "C:\\Games\\AO\\");
    const std::vector<TCharacter> roster = {
        character("Char11111111", "acc1"),
        character("Char22222222", "acc1", "Trader"),
    };
    saveSettings(ini, roster, 2, 10, "C:\\Games\\AO\\");

    EXPECT_EQ(file(), test::newFileLines({
                          "[AnarchyOnline]",
                          "Verzeichnis=C:\\Games\\AO\\",
                          "Orgsteuer=10",
                          "[ProgrammIntern]",
                          "Firstrun=0",
                          "[Charcount]",
                          "Chars=2",
                          "[Char1]",
                          "Chars=Char11111111,acc1,",
                          "[Char2]",
                          "Chars=Char22222222,acc1,Trader",
                      }));

    EXPECT_FALSE(readFirstRun(ini));
    EXPECT_EQ(readGameDir(ini), "C:\\Games\\AO\\");
    std::vector<TCharacter> loaded(100);
    std::int32_t count = 0;
    loadRoster(ini, loaded, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(loaded, roster);
    EXPECT_EQ(readOrgTax(ini), 10);
}

TEST_F(SettingsTest, CancelledFirstRunSavesEmptyState) {
    EXPECT_TRUE(readFirstRun(ini));
    saveSettings(ini, {}, 0, 0, "");
    EXPECT_EQ(file(),
              test::newFileLines({"[ProgrammIntern]", "Firstrun=0", "[Charcount]", "Chars=0",
                                  "[AnarchyOnline]", "Orgsteuer=0", "Verzeichnis="}));
    EXPECT_FALSE(readFirstRun(ini));
    EXPECT_EQ(readGameDir(ini), "");
}

TEST_F(SettingsTest, SavingRewritesInPlaceAndLeavesHigherCharSections) {
    fs.files[kPath] =
        "[ProgrammIntern]\nFirstrun=1\n[AnarchyOnline]\nVerzeichnis=/old/\nOrgSteuer=5\n"
        "; kept\n\n[Charcount]\nChars=3\n[Char1]\nChars=A,acc,\n[char2]\nChars=B,acc,\n"
        "[Char3]\nChars=C,acc,\n";
    saveSettings(ini, {character("A", "acc", "Anna"), character("B", "acc")}, 2, 7, "/new/");
    EXPECT_EQ(file(),
              "[ProgrammIntern]\nFirstrun=0\n[AnarchyOnline]\nVerzeichnis=/new/\nOrgSteuer=7\n"
              "; kept\n\n[Charcount]\nChars=2\n[Char1]\nChars=A,acc,Anna\n[char2]\nChars=B,acc,\n"
              "[Char3]\nChars=C,acc,\n");
}

TEST_F(SettingsTest, ReadsValuesInAnyCaseWithBlanksDropped) {
    fs.files[kPath] =
        "[programmintern]\nFIRSTRUN = 0\n[anarchyonline]\nverzeichnis =  D:\\AO  \n"
        "ORGSTEUER=25\n";
    EXPECT_FALSE(readFirstRun(ini));
    EXPECT_EQ(readGameDir(ini), "D:\\AO");  // no backslash added
    EXPECT_EQ(readOrgTax(ini), 25);
}

TEST_F(SettingsTest, FirstRunIsOverOnlyForAZeroFlag) {
    struct Case {
        const char* name;
        const char* file;
        bool firstRun;
    };
    const Case cases[] = {
        {"no flag", "[ProgrammIntern]\n", true},
        {"zero", "[ProgrammIntern]\nFirstrun=0\n", false},
        {"two", "[ProgrammIntern]\nFirstrun=2\n", true},
        {"no integer", "[ProgrammIntern]\nFirstrun=abc\n", true},
        {"empty", "[ProgrammIntern]\nFirstrun=\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files[kPath] = c.file;
        EXPECT_EQ(readFirstRun(ini), c.firstRun);
    }
}

TEST_F(SettingsTest, OrgTaxThatIsNoIntegerRaises) {
    EXPECT_EQ(readOrgTax(ini), 0);  // no file
    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"[AnarchyOnline]\nOrgSteuer=abc\n", "'abc' is not a valid integer value"},
        {"[AnarchyOnline]\nOrgSteuer=\n", "'' is not a valid integer value"},
        {"[AnarchyOnline]\nOrgSteuer=10%\n", "'10%' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        fs.files[kPath] = c.file;
        try {
            readOrgTax(ini);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST_F(SettingsTest, LoadRosterKeepsTheLinesThatHoldACharacter) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<TCharacter> roster;
    };
    const Case cases[] = {
        {"count 3 of five sections",
         "[Charcount]\nChars=3\n[Char1]\nChars=A,acc,\n[Char2]\nChars=B,acc,Bee\n"
         "[Char3]\nChars=C,acc,\n[Char4]\nChars=D,acc,\n[Char5]\nChars=E,acc,\n",
         {character("A", "acc"), character("B", "acc", "Bee"), character("C", "acc")}},
        {"four fields",
         "[Charcount]\nChars=1\n[Char1]\nChars=A,acc,Name,extra\n",
         {character("A", "acc", "Name,extra")}},
        {"short lines",
         "[Charcount]\nChars=2\n[Char1]\nChars=A,acc\n[Char2]\nChars=B\n",
         {character("A", "acc"), character("B", "")}},
        {"missing section left out",
         "[Charcount]\nChars=3\n[Char1]\nChars=A,acc,\n[Char3]\nChars=C,acc,\n",
         {character("A", "acc"), character("C", "acc")}},
        {"empty CharDir left out",
         "[Charcount]\nChars=2\n[Char1]\nChars=,acc,Ghost\n[Char2]\nChars=B,acc,\n",
         {character("B", "acc")}},
        {"name with commas and trailing blanks",
         "[Charcount]\nChars=1\n[Char1]\nChars=A,acc,Bob, the seller   \n",
         {character("A", "acc", "Bob, the seller")}},
        {"hex count", "[Charcount]\nChars=$1\n[Char1]\nChars=A,acc,\n", {character("A", "acc")}},
        {"no line holds a character", "[Charcount]\nChars=2\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files[kPath] = c.file;
        std::vector<TCharacter> characters(100);
        std::int32_t count = -1;
        loadRoster(ini, characters, count);
        EXPECT_EQ(characters, c.roster);
        EXPECT_EQ(count, static_cast<std::int32_t>(c.roster.size()));
    }
}

TEST_F(SettingsTest, LoadRosterReadsNoLineForACountBelowOne) {
    for (const char* countLine : {"", "Chars=0\n", "Chars=-2\n"}) {
        SCOPED_TRACE(countLine);
        fs.files[kPath] = std::string("[Charcount]\n") + countLine + "[Char1]\nChars=A,acc,\n";
        std::vector<TCharacter> characters(100);
        std::int32_t count = -1;
        loadRoster(ini, characters, count);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(characters, std::vector<TCharacter>(100));
    }
}

TEST_F(SettingsTest, LoadRosterRaisesForACountThatIsNoInteger) {
    fs.files[kPath] = "[Charcount]\nChars=zwei\n[Char1]\nChars=A,acc,\n";
    std::vector<TCharacter> characters(100);
    std::int32_t count = 5;
    try {
        loadRoster(ini, characters, count);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "'zwei' is not a valid integer value");
    }
    EXPECT_EQ(count, 0);
    EXPECT_EQ(characters, std::vector<TCharacter>(100));
}

TEST_F(SettingsTest, FailedCloseWriteKeepsEarlierValuesAndTouchesNoLaterOne) {
    const std::string before =
        "[ProgrammIntern]\nFirstrun=1\n[Charcount]\nChars=1\n[Char1]\nChars=Old1,old,\n"
        "[Char2]\nChars=Old2,old,\n[AnarchyOnline]\nOrgsteuer=5\nVerzeichnis=/old/\n";
    struct Key {
        const char* section;
        const char* key;
        const char* oldValue;
        const char* newValue;
    };
    // In the order the close sequence writes them.
    const Key keys[] = {
        {"ProgrammIntern", "Firstrun", "1", "0"},
        {"Charcount", "Chars", "1", "2"},
        {"Char1", "Chars", "Old1,old,", "A,acc,"},
        {"Char2", "Chars", "Old2,old,", "B,acc,Bee"},
        {"AnarchyOnline", "Orgsteuer", "5", "10"},
        {"AnarchyOnline", "Verzeichnis", "/old/", "/new/"},
    };
    const std::vector<TCharacter> roster = {character("A", "acc"), character("B", "acc", "Bee")};
    const int writeCount = static_cast<int>(std::size(keys));
    for (int failing = 1; failing <= writeCount + 1; ++failing) {
        SCOPED_TRACE("failing write " + std::to_string(failing));
        fs.files[kPath] = before;
        fs.writes = 0;
        fs.failFromWrite = failing;
        if (failing <= writeCount) {
            EXPECT_THROW(saveSettings(ini, roster, 2, 10, "/new/"), Error);
        } else {
            EXPECT_NO_THROW(saveSettings(ini, roster, 2, 10, "/new/"));
        }
        EXPECT_EQ(fs.writes, std::min(failing, writeCount));
        for (int i = 0; i < writeCount; ++i) {
            SCOPED_TRACE(keys[i].section + std::string("/") + keys[i].key);
            EXPECT_EQ(ini.ReadString(keys[i].section, keys[i].key, ""),
                      i + 1 < failing ? keys[i].newValue : keys[i].oldValue);
        }
    }
}

TEST_F(SettingsTest, SavedRosterLoadsBack) {
    const std::vector<TCharacter> roster = {
        character("A", "acc1", "Bob, the seller"),
        character("B", "acc2"),
        character("C", "acc1", "Trader"),
    };
    saveSettings(ini, roster, 3, 0, "/ao/");
    std::vector<TCharacter> loaded;
    std::int32_t count = 0;
    loadRoster(ini, loaded, count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(loaded, roster);
}

}  // namespace
}  // namespace lw
