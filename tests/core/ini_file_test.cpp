#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "core/error.h"
#include "support/memory_file_system.h"
#include "support/text_lines.h"

namespace lw {
namespace {

const std::string kPath = "/cfg/LedgerwickCfg.ini";

class IniFileTest : public ::testing::Test {
  protected:
    test::MemoryFileSystem fs;
    TIniFile ini{kPath, fs};
};

TEST_F(IniFileTest, MissingFileReadsDefaultsWithoutTrailingBlanks) {
    EXPECT_EQ(ini.ReadString("s", "k", "one two  \t"), "one two");
    EXPECT_EQ(ini.ReadString("s", "k", "  lead"), "  lead");
    EXPECT_EQ(ini.ReadString("s", "k", "   "), "");
    EXPECT_TRUE(ini.ReadBool("s", "k", true));
    EXPECT_FALSE(ini.ReadBool("s", "k", false));
    EXPECT_TRUE(fs.files.empty());
}

TEST_F(IniFileTest, EmptyValueIsNoDefault) {
    fs.files[kPath] = "[s]\nk=\n";
    EXPECT_EQ(ini.ReadString("s", "k", "dflt"), "");
    EXPECT_EQ(ini.ReadString("s", "other", "dflt"), "dflt");
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
    fs.files[kPath] = "[s]\nk=1\n";
    EXPECT_EQ(ini.ReadString("s", "k", ""), "1");
    fs.files[kPath] = "[s]\nk=2\n";
    EXPECT_EQ(ini.ReadString("s", "k", ""), "2");
    fs.files.erase(kPath);
    EXPECT_EQ(ini.ReadString("s", "k", "gone"), "gone");
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileWithThePlatformLineEnd) {
    ini.WriteString("App", "key", "");
    EXPECT_EQ(fs.files.at(kPath), test::newFileLines({"[App]", "key="}));
    ini.WriteBool("App", "flag", true);
    ini.WriteBool("App", "off", false);
    EXPECT_EQ(fs.files.at(kPath), test::newFileLines({"[App]", "key=", "flag=1", "off=0"}));
}

TEST_F(IniFileTest, WriteKeepsTheFileLineEndAndOtherBytes) {
    fs.files[kPath] = "; mine\r\n[s]\r\nk=old\r\n\r\n[t]\r\n";
    ini.WriteString("S", "K", "new");
    ini.WriteString("t", "x", "1");
    EXPECT_EQ(fs.files.at(kPath), "; mine\r\n[s]\r\nk=new\r\n\r\n[t]\r\nx=1\r\n");
}

TEST_F(IniFileTest, WriteThatChangesNothingLeavesTheFileAlone) {
    fs.files[kPath] = "[s]\nk=v\n";
    fs.failFromWrite = 1;
    ini.WriteString("s", "k", "v");
    EXPECT_EQ(fs.writes, 0);
}

TEST_F(IniFileTest, FailedWriteRaisesAndChangesNothing) {
    const std::string before = "[s]\nk=old\n";
    fs.files[kPath] = before;
    fs.failFromWrite = 1;
    try {
        ini.WriteString("s", "k", "new");
        FAIL() << "the failed write raised nothing";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), ("Unable to write to " + kPath).c_str());
    }
    EXPECT_EQ(fs.files.at(kPath), before);
}

TEST_F(IniFileTest, FailedFirstWriteCreatesNoFile) {
    fs.failFromWrite = 1;
    EXPECT_THROW(ini.WriteBool("s", "k", true), Error);
    EXPECT_TRUE(fs.files.empty());
}

TEST_F(IniFileTest, UnreadableFileIsNotReplaced) {
    const std::string before = "[s]\nk=precious\n";
    fs.files[kPath] = before;
    fs.unreadable.insert(kPath);
    EXPECT_EQ(ini.ReadString("s", "k", "dflt"), "dflt");
    EXPECT_THROW(ini.WriteString("s", "other", "v"), Error);
    EXPECT_EQ(fs.files.at(kPath), before);
    EXPECT_EQ(fs.writes, 0);
}

TEST_F(IniFileTest, ReadBoolTakesTheValueAsAnInteger) {
    struct Case {
        const char* name;
        const char* file;  // nullptr: no file
        bool defaultValue;
        bool read;
    };
    const Case cases[] = {
        {"one", "[s]\nk=1\n", false, true},
        {"two is true", "[s]\nk=2\n", false, true},
        {"negative is true", "[s]\nk=-1\n", false, true},
        {"hex is an integer", "[s]\nk=0x10\n", false, true},
        {"blanks dropped first", "[s]\nk= 1 \n", false, true},
        {"zero", "[s]\nk=0\n", true, false},
        {"hex zero", "[s]\nk=$0\n", true, false},
        {"no integer, default true", "[s]\nk=abc\n", true, true},
        {"no integer, default false", "[s]\nk=abc\n", false, false},
        {"text is no true", "[s]\nk=true\n", false, false},
        {"out of range is no integer", "[s]\nk=4294967296\n", true, true},
        {"empty, default true", "[s]\nk=\n", true, true},
        {"empty, default false", "[s]\nk=\n", false, false},
        {"missing key", "[s]\n", true, true},
        {"missing file", nullptr, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files.clear();
        if (c.file) {
            fs.files[kPath] = c.file;
        }
        EXPECT_EQ(ini.ReadBool("s", "k", c.defaultValue), c.read);
    }
}

}  // namespace
}  // namespace lw
