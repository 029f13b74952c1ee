#include "core/ini_document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lw {
namespace {

TEST(IniRead, FollowsTheProfileReadingRules) {
    struct Case {
        const char* name;
        std::string_view text;
        std::string_view section;
        std::string_view key;
        std::optional<std::string_view> value;
    };
    const Case cases[] = {
        {"names ignore case", "[Section1]\nName1=val1\n", "section1", "NAME1", "val1"},
        {"stored names in another case", "[anarchyonline]\nORGSTEUER=25\n", "AnarchyOnline",
         "OrgSteuer", "25"},
        {"case only for ASCII letters", "[\xC4]\nk=1\n", "\xE4", "k", std::nullopt},
        {"blanks in a header", "[ sec ]\nk=v\n", "sec", "k", "v"},
        {"blanks inside a header name stay", "[my sec]\nk=v\n", "my sec", "k", "v"},
        {"blanks around a key", "[s]\n  k \t= v\n", "s", "k", "v"},
        {"value after the first equals sign", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"blanks around the value", "[s]\nk=  v x  \n", "s", "k", "v x"},
        {"tab, VT and FF are blanks", "[s]\nk=\t\v\fv\f\v\t\n", "s", "k", "v"},
        {"double quotes", "[s]\nk=\"val2\"\n", "s", "k", "val2"},
        {"single quotes", "[s]\nk='v'\n", "s", "k", "v"},
        {"quotes after the blanks are dropped", "[s]\nk= \" v \" \n", "s", "k", " v "},
        {"empty quotes", "[s]\nk=\"\"\n", "s", "k", ""},
        {"quote at one end", "[s]\nk=\"v\n", "s", "k", "\"v"},
        {"different quotes", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
        {"a lone quote", "[s]\nk=\"\n", "s", "k", "\""},
        {"no inline comment", "[s]\nk=v ;c\n", "s", "k", "v ;c"},
        {"empty value", "[s]\nk=\n", "s", "k", ""},
        {"blank value", "[s]\nk=   \n", "s", "k", ""},
        {"line without equals sign", "[s]\nk\n", "s", "k", std::nullopt},
        {"first key wins", "[s]\nk=1\nk=2\n", "s", "k", "1"},
        {"only the first section of a name", "[s]\na=1\n[S]\nb=2\n", "s", "b", std::nullopt},
        {"first section's key", "[s]\na=1\n[S]\na=2\n", "s", "a", "1"},
        {"comment line", "[s]\n;k=1\n", "s", "k", std::nullopt},
        {"indented comment line", "[s]\n  ;k=1\n", "s", "k", std::nullopt},
        {"hash means nothing", "[s]\n#k=2\n", "s", "#k", "2"},
        {"before the first header", "k=1\n[s]\n", "s", "k", std::nullopt},
        {"key of another section", "[a]\nk=1\n[b]\n", "b", "k", std::nullopt},
        {"missing section", "[a]\nk=1\n", "b", "k", std::nullopt},
        {"header name up to the last bracket", "[a]b]\nk=1\n", "a]b", "k", "1"},
        {"text after the header ignored", "[s] ;note\nk=1\n", "s", "k", "1"},
        {"indented header", "  [s]\nk=1\n", "s", "k", "1"},
        {"no closing bracket, no header", "[s\nk=1\n", "s", "k", std::nullopt},
        {"such a line keeps the section going", "[s]\n[t\nk=1\n", "s", "k", "1"},
        {"blank lines between", "[s]\n\n\n\nk=1\n", "s", "k", "1"},
        {"CR LF", "[s]\r\nk=1\r\nm=2\r\n", "s", "k", "1"},
        {"CR alone", "[s]\rk=1\rm=2\r", "s", "m", "2"},
        {"mixed line ends", "[a]\r\nx=1\n[s]\rk=3", "s", "k", "3"},
        {"last line without a break", "[s]\nk=1", "s", "k", "1"},
        {"byte order mark", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "1"},
        {"byte order mark only at the start", "[a]\n\xEF\xBB\xBF[s]\nk=1\n", "s", "k",
         std::nullopt},
        {"empty text", "", "s", "k", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(iniRead(c.text, c.section, c.key), c.value);
    }
}

TEST(IniRead, KeepsLongValuesWhole) {
    const std::string value(5000, 'x');
    EXPECT_EQ(iniRead("[s]\nk=" + value + "\n", "s", "k"), value);
}

struct WriteCase {
    const char* name;
    std::string_view before;
    std::string_view section;
    std::string_view key;
    std::string_view value;
    std::string_view after;
    std::string_view newline = "\n";
};

const WriteCase kWriteCases[] = {
    {"new text", "", "App", "key", "", "[App]\nkey=\n"},
    {"new text with the given line end", "", "App", "key", "v", "[App]\r\nkey=v\r\n", "\r\n"},
    {"existing key keeps place and spelling", "[s]\nKey=old\nz=9\n", "S", "KEY", "new",
     "[s]\nKey=new\nz=9\n"},
    {"existing key with blanks before the equals sign", "[s]\n  k = old \nx=1\n", "s", "k", "new",
     "[s]\n  k =new\nx=1\n"},
    {"value written exactly as given", "[s]\nk=1\n", "s", "k", " v ;x ", "[s]\nk= v ;x \n"},
    {"quoted value replaced", "[s]\nk=\"old\"\n", "s", "k", "new", "[s]\nk=new\n"},
    {"missing key after the section's last key line", "[s]\nn1=v1\n\n;c\n[t]\nx=1\n", "s", "n5",
     "v5", "[s]\nn1=v1\nn5=v5\n\n;c\n[t]\nx=1\n"},
    {"a line without equals sign is no key line", "[s]\na=1\njunk\n", "s", "b", "2",
     "[s]\na=1\nb=2\njunk\n"},
    {"a commented key is no key", "[s]\n;k=1\n", "s", "k", "2", "[s]\nk=2\n;k=1\n"},
    {"section without keys", "[s]\n\n[t]\n", "s", "k", "v", "[s]\nk=v\n\n[t]\n"},
    {"section's key line ends the text", "[a]\nx=1", "a", "k", "v", "[a]\nx=1\nk=v"},
    {"header ends the text", "[a]", "a", "k", "v", "[a]\r\nk=v", "\r\n"},
    {"missing section, no final break", "[a]\nx=1", "b", "k", "v", "[a]\nx=1\n[b]\nk=v\n"},
    {"missing section, final break", "[a]\nx=1\n", "b", "k", "v", "[a]\nx=1\n[b]\nk=v\n"},
    {"missing section after blank and comment lines", "[a]\nx=1\n\n;end\n", "b", "k", "v",
     "[a]\nx=1\n\n;end\n[b]\nk=v\n"},
    {"the file's CR LF", "[a]\r\nx=1\r\n", "a", "k", "v", "[a]\r\nx=1\r\nk=v\r\n"},
    {"the file's CR", "[a]\rx=1\r", "b", "k", "v", "[a]\rx=1\r[b]\rk=v\r"},
    {"the first line end of a mixed file", "[a]\r\nx=1\n", "a", "k", "v", "[a]\r\nx=1\nk=v\r\n"},
    {"first of two sections", "[s]\na=1\n[S]\nb=2\n", "s", "b", "3", "[s]\na=1\nb=3\n[S]\nb=2\n"},
    {"first of two keys", "[s]\nk=1\nk=2\n", "s", "k", "3", "[s]\nk=3\nk=2\n"},
    {"text before the first header", "k=1\n; top\n[s]\n", "s", "k", "2", "k=1\n; top\n[s]\nk=2\n"},
    {"byte order mark kept", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "2", "\xEF\xBB\xBF[s]\nk=2\n"},
    {"byte order mark only", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\nk=v\n"},
    {"other bytes stay", "x\t=\"1\" \r\n[s]\r\n;c\r\n\r\nk=old\r\n#h\r\n[t]\r\n", "s", "k", "new",
     "x\t=\"1\" \r\n[s]\r\n;c\r\n\r\nk=new\r\n#h\r\n[t]\r\n"},
};

TEST(IniWrite, ChangesOnlyWhatTheWriteNeeds) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(iniWrite(c.before, c.section, c.key, c.value, c.newline), c.after);
    }
}

TEST(IniWrite, WrittenValuesReadBack) {
    for (const WriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.name);
        const std::string after = iniWrite(c.before, c.section, c.key, "value", c.newline);
        EXPECT_EQ(iniRead(after, c.section, c.key), "value");
    }
}

}  // namespace
}  // namespace lw
