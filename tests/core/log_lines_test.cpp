#include "core/log_lines.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace lw {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kOpen = "<div indent=wrapped>";

std::vector<std::string> linesOf(const LogLines& lines) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out.emplace_back(lines[i]);
    }
    return out;
}

std::vector<std::string> strings(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

// The split rules, checked on splitLines and on both ways of loading a file, which split the
// text where it lies and must give the same lines.
TEST(LogLinesTest, SplitsAtEveryKindOfBreak) {
    struct Case {
        const char* name;
        std::string_view bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"CR LF, LF and CR each end one line", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
        {"CR LF CR LF", "\r\n\r\n", {"", ""}},
        {"NUL in the middle ends the text", "ab\ncd\0ef\ngh"sv, {"ab", "cd"}},
        {"NUL right after a break", "ab\r\n\0cd\r\n"sv, {"ab"}},
        {"NUL first", "\0ab"sv, {}},
        {"final CR LF adds no line", "a\r\nb\r\n", {"a", "b"}},
        {"final CR adds no line", "a\r", {"a"}},
        {"two final breaks add one empty line", "a\n\n", {"a", ""}},
        {"last line without a break", "a\nb", {"a", "b"}},
        {"empty", "", {}},
        {"only CRs", "\r\r\r", {"", "", ""}},
        {"single line", "abc", {"abc"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(strings(splitLines(c.bytes)), c.lines);

        LogLines fromView;
        fromView.appendFile(c.bytes);
        EXPECT_EQ(linesOf(fromView), c.lines);

        LogLines fromString;
        fromString.appendFile(std::string(c.bytes));
        EXPECT_EQ(linesOf(fromString), c.lines);
    }
}

// The cleaning rules, checked on cleanLine and on a file of that one line, which is cleaned in
// place.
TEST(LogLinesTest, CutsOpeningThenClosingTags) {
    const std::string longText(40, 'x');
    struct Case {
        const char* name;
        std::string line;
        std::string cleaned;
    };
    const Case cases[] = {
        {"tag, text, tag", "<div indent=wrapped>Hello</div>", "Hello"},
        {"other letter case stays", "<DIV indent=wrapped>x</Div>", "<DIV indent=wrapped>x</Div>"},
        {"other spacing stays", "<div  indent=wrapped>x</div >", "<div  indent=wrapped>x</div >"},
        {"spaces around = stay", "<div indent = wrapped>x", "<div indent = wrapped>x"},
        {"an opening tag formed by a cut stays", "<div ind<div indent=wrapped>ent=wrapped>",
         "<div indent=wrapped>"},
        {"a closing tag formed by a cut stays", "</d</div>iv>", "</div>"},
        {"'</' tag 'div>' becomes empty", "</<div indent=wrapped>div>", ""},
        {"'<' tag '/div>' becomes empty", "<<div indent=wrapped>/div>", ""},
        {"empty line stays empty", "", ""},
        {"several tags anywhere", "a<div indent=wrapped>b<div indent=wrapped>c</div>d</div>e",
         "abcde"},
        {"adjacent tags", "<div indent=wrapped><div indent=wrapped></div></div>", ""},
        {"other tags and entities stay", "<font color=red>5 &amp; 6</font>",
         "<font color=red>5 &amp; 6</font>"},
        {"cut-off tags at the end stay", "x<div indent=wrap", "x<div indent=wrap"},
        {"cut-off closing tag stays", "x</div", "x</div"},
        {"tags inside long text", longText + std::string(kOpen) + longText + "</div>" + longText,
         longText + longText + longText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cleanLine(c.line), c.cleaned);

        LogLines lines;
        lines.appendFile(c.line + "\r\n");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], c.cleaned);
    }
}

TEST(LogLinesTest, CleansEachLineOfAFileOnItsOwn) {
    // Lines shrink by different amounts; a tag broken by a line break is no tag.
    const std::string file = std::string(kOpen) + "first 100</div>\r\nsecond\n" +
                             std::string(kOpen) + "</div>\r<div indent=\nwrapped>\r\n" +
                             "</di\nv>last" + std::string(kOpen);
    LogLines lines;
    lines.appendFile(file);
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"first 100", "second", "", "<div indent=",
                                                        "wrapped>", "</di", "v>last"}));
    EXPECT_EQ(lines.joined(), "first 100\nsecond\n\n<div indent=\nwrapped>\n</di\nv>last");
}

// Plain models of the rules, for comparing the in-place cleaning on many mixed texts.
std::vector<std::string> modelLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            line += bytes[i];
            continue;
        }
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::string modelCut(const std::string& text, const std::string& tag) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t hit; (hit = text.find(tag, from)) != std::string::npos;
         from = hit + tag.size()) {
        out += text.substr(from, hit - from);
    }
    return out + text.substr(from);
}

TEST(LogLinesTest, MixedTextsGiveWhatTheRulesSay) {
    const std::string pieces[] = {std::string(kOpen),  "</div>", "</", "div>", "<", "<div ind",
                                  "ent=wrapped>",      "\r",     "\n", "\r\n", "x", "sold 42 ",
                                  std::string(20, 'y')};
    std::mt19937 random(1);
    for (int round = 0; round < 2000; ++round) {
        std::string file;
        const int count = static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            file += pieces[random() % std::size(pieces)];
        }
        if (random() % 10 == 0) {
            file.insert(random() % (file.size() + 1), 1, '\0');
        }
        std::vector<std::string> expected;
        for (const auto& line : modelLines(file)) {
            expected.push_back(modelCut(modelCut(line, std::string(kOpen)), "</div>"));
        }
        SCOPED_TRACE(file);
        LogLines lines;
        lines.append("before");
        lines.appendFile(std::string_view(file));
        LogLines handedOver;
        handedOver.appendFile(std::string(file));
        expected.insert(expected.begin(), "before");
        EXPECT_EQ(linesOf(lines), expected);
        expected.erase(expected.begin());
        EXPECT_EQ(linesOf(handedOver), expected);
    }
}

TEST(LogLinesTest, FilesAndLinesFollowOneAnother) {
    LogLines lines;
    EXPECT_TRUE(lines.empty());
    lines.appendFile(std::string("a\r\n<div indent=wrapped>b</div>\r\n"));
    lines.appendFile(""sv);  // an empty log adds nothing, not even a break
    lines.appendFile("c\n\n"sv);
    lines.appendFile(std::string("d"));
    lines.append("");
    lines.append("Der Char X hat nichts verkauft");
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"a", "b", "c", "", "d", "",
                                                        "Der Char X hat nichts verkauft"}));
    EXPECT_EQ(lines.joined(), "a\nb\nc\n\nd\n\nDer Char X hat nichts verkauft");

    lines.clear();
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(lines.joined(), "");
    lines.append("");
    lines.append("");
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines.joined(), "\n");
    lines.appendFile("x"sv);
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"", "", "x"}));
}

// Room made ahead from the files' sizes is only a guess: too little, none or too much must give
// the same lines. The files are big enough for the buffers to come from the huge-page blocks and
// to move to new ones while they grow.
TEST(LogLinesTest, ReservedRoomOfAnySizeGivesTheSameLines) {
    std::string file;
    std::vector<std::string> expected;
    for (int i = 0; expected.size() < 120'000; ++i) {
        const std::string text = "line " + std::to_string(i) + " sold for " + std::to_string(i * 7);
        file += kOpen;
        file += text + "</div>\r\n";
        expected.push_back(text);
    }
    const std::vector<std::string> twice = [&] {
        std::vector<std::string> all = expected;
        all.insert(all.end(), expected.begin(), expected.end());
        return all;
    }();
    struct Case {
        const char* name;
        std::size_t bytes;
        std::size_t lines;
    };
    const Case cases[] = {
        {"none", 0, 0},
        {"too little", file.size() / 3, 1000},
        {"exact for the raw bytes", 2 * file.size() + 2, 2 * expected.size()},
        {"far too much", 8 * file.size(), 8 * expected.size()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogLines lines;
        lines.reserve(c.bytes, c.lines);
        lines.appendFile(file);
        lines.appendFile(file);
        EXPECT_EQ(linesOf(lines), twice);
    }
}

TEST(LogLinesTest, LinesKeepTheEncodingOfTheirFile) {
    const std::string utf8 = "K\xC3\xA4se\r\nBrot\r\n";  // "Käse" in UTF-8
    const std::string latin1 = "K\xE4se\r\nBrot";        // "Käse" in Windows-1252
    LogLines lines;
    lines.appendFile(std::string(latin1));
    lines.appendFile(utf8);
    lines.appendFile(latin1);
    lines.appendFile(""sv);
    lines.appendFile(latin1);
    lines.appendFile("ok\0\xFF"sv);  // what follows a NUL is not read, so not judged either
    lines.append("\xC3\xBC");
    const std::vector<bool> expected = {false, false, true,  true, false,
                                        false, false, false, true, true};
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lines.isUtf8(i), expected[i]);
    }
    lines.clear();
    lines.appendFile(utf8);
    EXPECT_TRUE(lines.isUtf8(0));
}

TEST(LogLinesTest, TellsWellFormedUtf8) {
    const std::string ascii(40, 'a');
    struct Case {
        const char* name;
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"ASCII", "Hello, 100 credits", true},
        {"two, three and four bytes", "\xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"last before the surrogates", "\xED\x9F\xBF", true},
        {"U+FFFF", "\xEF\xBF\xBF", true},
        {"overlong two bytes", "\xC0\x80", false},
        {"overlong C1", "\xC1\xBF", false},
        {"overlong three bytes", "\xE0\x9F\xBF", false},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"lone continuation", "a\x80", false},
        {"Latin-1 byte", "K\xE4se", false},
        {"cut short at the end", "\xE2\x82", false},
        {"cut short by ASCII",
         "\xE2\x82"
         "A",
         false},
        {"bad byte after a long ASCII run", ascii + "\xFF" + ascii, false},
        {"good bytes after a long ASCII run", ascii + "\xC3\xA4" + ascii, true},
        {"bad byte late in a long run", ascii + ascii + "\xE4", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    }
    // ASCII is skipped in blocks; a bad or good byte is seen wherever in a block it lies.
    for (std::size_t at = 0; at < 70; ++at) {
        SCOPED_TRACE(at);
        std::string text(70, 'a');
        text[at] = '\xE4';
        EXPECT_FALSE(isValidUtf8(text));
        text.replace(at, 1, "\xC3\xA4");
        EXPECT_TRUE(isValidUtf8(text));
    }
}

TEST(LogLinesTest, ConvertsWindows1252ToUtf8) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        {"ASCII unchanged", "abc 123", "abc 123"},
        {"euro sign", "\x80", "\xE2\x82\xAC"},
        {"low quote and trade mark", "\x82\x99", "\xE2\x80\x9A\xE2\x84\xA2"},
        {"S caron and Y diaeresis", "\x8A\x9F", "\xC5\xA0\xC5\xB8"},
        {"unassigned bytes are C1 controls", "\x81\x8D\x8F\x90\x9D",
         "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"no-break space", "\xA0", "\xC2\xA0"},
        {"Latin-1 letters", "K\xE4se \xFF", "K\xC3\xA4se \xC3\xBF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(windows1252ToUtf8(c.bytes), c.utf8);
    }
    // Every byte gives exactly one well-formed code point.
    for (int b = 1; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string text = windows1252ToUtf8(std::string(1, static_cast<char>(b)));
        EXPECT_TRUE(isValidUtf8(text));
        EXPECT_EQ(
            std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }), 1);
    }
}

}  // namespace
}  // namespace lw
