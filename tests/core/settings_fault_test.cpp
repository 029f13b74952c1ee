// Settings files that a failing disk, a hand edit or a damaged disk left behind: writes that
// cannot be made whole are refused and leave the file as it was, and damaged contents read as
// far as they go without taking the program down. A write failing in the middle of the close
// sequence is in settings_test.cpp (FailedCloseWriteKeepsEarlierValuesAndTouchesNoLaterOne), a
// disk that fills up during a write in file_system_test.cpp (WriteThatRunsOutOfSpace...).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/ini_file.h"
#include "core/settings.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include "support/immutable.h"
#include "support/unprivileged.h"
#endif

namespace lw {
namespace {

namespace stdfs = std::filesystem;

const std::string kOld = "[ProgrammIntern]\nFirstrun=1\n[AnarchyOnline]\nOrgsteuer=5\n";

std::set<std::string> namesIn(const stdfs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : stdfs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// The message of the error a write raises, or "written".
std::string writeOutcome(TIniFile& ini) {
    try {
        ini.WriteString("AnarchyOnline", "Orgsteuer", "10");
        return "written";
    } catch (const Error& e) {
        return e.what();
    }
}

class SettingsWriteFault : public ::testing::Test {
  protected:
    test::TempDir dir;
    stdfs::path folder = dir.mkdir("App");
    std::string path = (folder / "LedgerwickCfg.ini").string();
    TIniFile ini{path};

    void SetUp() override { dir.write("App/LedgerwickCfg.ini", kOld); }

    void expectOldFileAlone() const {
        EXPECT_EQ(dir.read("App/LedgerwickCfg.ini"), kOld);
        EXPECT_EQ(namesIn(folder), std::set<std::string>{"LedgerwickCfg.ini"})
            << "no temporary file is left behind";
    }
};

// The read-only attribute on Windows; elsewhere the mode bits, which the file layer honours for
// every user, so this holds for root as well.
TEST_F(SettingsWriteFault, ReadOnlyFileIsNotReplaced) {
    constexpr auto kWrite =
        stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write;
    stdfs::permissions(path, kWrite, stdfs::perm_options::remove);
    EXPECT_EQ(writeOutcome(ini), "Unable to write to " + path);
    stdfs::permissions(path, stdfs::perms::owner_write, stdfs::perm_options::add);
    expectOldFileAlone();
}

#ifndef _WIN32
// An unprivileged user (nobody, when the tests run as root) in a folder it may not write.
TEST_F(SettingsWriteFault, FolderWithoutWriteRightIsNotWritten) {
    const auto outcome = test::unprivilegedRun([this] { return writeOutcome(ini); });
    ASSERT_TRUE(outcome.has_value()) << "the unprivileged child failed";
    EXPECT_EQ(*outcome, "Unable to write to " + path);
    expectOldFileAlone();
}

// The immutable flag on the file: the new content is written to a temporary file, and then
// the step that puts it in the old one's place is refused.
TEST_F(SettingsWriteFault, WriteInterruptedBeforeTheReplaceKeepsTheOldFile) {
    const test::Immutable locked(path);
    if (!locked.set()) {
        GTEST_SKIP() << "no immutable flag on this file system";
    }
    EXPECT_EQ(writeOutcome(ini), "Unable to write to " + path);
    expectOldFileAlone();
}

#endif  // _WIN32

class DamagedSettingsFile : public ::testing::Test {
  protected:
    test::TempDir dir;
    TIniFile ini{dir.str() + "LedgerwickCfg.ini"};

    void write(std::string_view bytes) const { dir.write("LedgerwickCfg.ini", bytes); }
    std::string bytes() const { return dir.read("LedgerwickCfg.ini"); }

    std::vector<TCharacter> roster() const {
        std::vector<TCharacter> characters;
        std::int32_t count = 0;
        loadRoster(ini, characters, count);
        EXPECT_EQ(static_cast<std::size_t>(count), characters.size());
        return characters;
    }
};

// Only sections that are in the file can hold a line, so a count far beyond them costs no
// more than the sections themselves.
TEST_F(DamagedSettingsFile, HugeCountReadsTheSectionsThatAreThere) {
    write(
        "[Charcount]\nChars=2147483647\n[Char1]\nChars=A,acc,\n[char2000000000]\nChars=B,acc,\n"
        "[Char02]\nChars=NotChar2,acc,\n[ CHAR3 ]\nChars=C,acc,\n[Char1]\nChars=Again,acc,\n");
    EXPECT_EQ(roster(),
              (std::vector<TCharacter>{{"", "A", "acc"}, {"", "C", "acc"}, {"", "B", "acc"}}));
}

TEST_F(DamagedSettingsFile, LongNamesAndALongFileAreKeptWhole) {
    std::vector<TCharacter> characters;
    for (int i = 0; i < 30; ++i) {
        characters.push_back({"Name " + std::to_string(i), "Char" + std::to_string(i), "acc"});
    }
    characters[7].Name = std::string(10'000, 'n');
    saveSettings(ini, characters, static_cast<std::int32_t>(characters.size()), 10, "/ao/");
    ASSERT_GT(bytes().size(), 10'000u);
    EXPECT_EQ(roster(), characters);
}

// Bytes from an alphabet rich in what the format gives meaning to, so the garbage holds
// headers, keys and line ends in every state of repair.
std::string garbage(unsigned seed) {
    static constexpr std::string_view kAlphabet =
        "[]=;\r\n\r\n \t\"'Chars0123456789$xX-CharcountProgrammInternFirstrunAnarchyOnline"
        "VerzeichnisOrgSteuer,\x00\x01\x7f\x80\xc3\xa4\xef\xbb\xbf\xff";
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string out(10'000, ' ');
    for (char& c : out) {
        c = kAlphabet[pick(random)];
    }
    return out;
}

TEST_F(DamagedSettingsFile, BinaryGarbageReadsAsFarAsItGoesAndTakesTheNextSave) {
    const std::vector<TCharacter> characters = {{"", "Char1", "acc"}, {"Trader", "Char2", "acc"}};
    for (unsigned seed = 1; seed <= 10; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        write(garbage(seed));
        // Each reader gives a value or raises the program's own error, which the window shows.
        EXPECT_NO_THROW(readFirstRun(ini));
        EXPECT_NO_THROW(readGameDir(ini));
        for (const auto& read : {std::function<void()>([this] { roster(); }),
                                 std::function<void()>([this] { readOrgTax(ini); })}) {
            try {
                read();
            } catch (const Error&) {
            }
        }

        saveSettings(ini, characters, 2, 33, "/ao/");
        EXPECT_FALSE(readFirstRun(ini));
        EXPECT_EQ(readGameDir(ini), "/ao/");
        EXPECT_EQ(readOrgTax(ini), 33);
        EXPECT_EQ(roster(), characters);
    }
}

TEST_F(DamagedSettingsFile, ByteOrderMarkIsReadOverAndKept) {
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string& before :
         {bom + "[ProgrammIntern]\r\nFirstrun=0\r\n[AnarchyOnline]\r\nVerzeichnis=/ao/\r\n"
                "Orgsteuer=7\r\n[Charcount]\r\nChars=1\r\n[Char1]\r\nChars=Old,acc,Olga\r\n",
          bom}) {
        SCOPED_TRACE(before.size());
        write(before);
        const bool stored = before.size() > bom.size();
        EXPECT_EQ(readFirstRun(ini), !stored);
        EXPECT_EQ(readGameDir(ini), stored ? "/ao/" : "");
        EXPECT_EQ(readOrgTax(ini), stored ? 7 : 0);

        const std::vector<TCharacter> characters = {{"Olga", "Old", "acc"}, {"", "New", "acc"}};
        saveSettings(ini, characters, 2, 9, "/ao/");
        EXPECT_TRUE(bytes().starts_with(bom + "["));
        EXPECT_EQ(bytes().find(bom, 1), std::string::npos);
        EXPECT_EQ(roster(), characters);
        EXPECT_EQ(readOrgTax(ini), 9);
    }
}

}  // namespace
}  // namespace lw
