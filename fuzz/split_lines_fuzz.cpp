// The lines of a shop log's bytes against a plain reference: a NUL ends the text, CR LF, CR and
// LF each end a line, and a break at the very end adds no line. forEachLine, splitLines and
// LogLines::appendFile must all give those lines, the view's lines being the cleaned ones joined
// by "\n". The UTF-8 test agrees with a plain decoder, and Windows-1252 text turns into UTF-8.
#include <string>
#include <vector>

#include "core/log_lines.h"
#include "fuzz_input.h"

namespace {

std::vector<std::string> referenceLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a line has begun that no break has ended yet
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += c;
            open = true;
        }
    }
    if (open) {
        lines.push_back(line);
    }
    return lines;
}

bool isUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            n = 1, cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            n = 2, cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            n = 3, cp = b & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size()) {
            return false;  // the sequence is cut off
        }
        for (std::size_t k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += n + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> expected = referenceLines(bytes);

    std::vector<std::string> visited;
    lw::forEachLine(bytes, [&](std::string_view line) { visited.emplace_back(line); });
    lw::fuzz::check(visited == expected, "forEachLine differs", bytes);

    const auto split = lw::splitLines(bytes);
    lw::fuzz::check(std::vector<std::string>(split.begin(), split.end()) == expected,
                    "splitLines differs", bytes);

    lw::fuzz::check(lw::isValidUtf8(bytes) == isUtf8(bytes), "isValidUtf8 differs", bytes);
    lw::fuzz::check(isUtf8(lw::windows1252ToUtf8(bytes)), "windows1252ToUtf8 gives bad UTF-8",
                    bytes);

    lw::LogLines view;
    view.append("first");
    view.appendFile(bytes);
    lw::fuzz::check(view.size() == expected.size() + 1, "appendFile's line count", bytes);
    std::string joined = "first";
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string cleaned = lw::cleanLine(expected[i]);
        lw::fuzz::check(view[i + 1] == cleaned, "appendFile's line", bytes);
        joined += "\n" + cleaned;
    }
    lw::fuzz::check(view.joined() == joined, "joined lines", bytes);
    lw::fuzz::check(view.isUtf8(0), "an appended UTF-8 line lost its encoding");
    return 0;
}
