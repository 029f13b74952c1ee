#include "core/ini_document.h"

#include <cstddef>

namespace lw {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimBlanks(std::string_view s) {
    const std::size_t first = s.find_first_not_of(kIniBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kIniBlanks) - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

struct Line {
    std::string_view text;     // without its line end
    std::size_t begin = 0;     // offset of `text` in the whole
    std::string_view lineEnd;  // CR LF, LF, CR, or empty for a last line without one
};

// Calls visit(line) for each line after a leading byte order mark until visit returns false.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit) {
    std::size_t pos = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (pos < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", pos);
        Line line;
        line.begin = pos;
        if (stop == std::string_view::npos) {
            line.text = text.substr(pos);
            pos = text.size();
        } else {
            line.text = text.substr(pos, stop - pos);
            const bool crlf =
                text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n';
            line.lineEnd = text.substr(stop, crlf ? 2 : 1);
            pos = stop + line.lineEnd.size();
        }
        if (!visit(line)) {
            return;
        }
    }
}

enum class Kind { kOther, kHeader, kKey };

struct Classified {
    Kind kind = Kind::kOther;
    std::string_view name;       // section or key name, blanks dropped
    std::size_t valueBegin = 0;  // for a key: offset in the line just after its first "="
};

Classified classify(std::string_view line) {
    const std::size_t first = line.find_first_not_of(kIniBlanks);
    if (first == std::string_view::npos || line[first] == ';') {
        return {};
    }
    if (line[first] == '[') {
        const std::size_t close = line.rfind(']');
        if (close != std::string_view::npos && close > first) {
            return {Kind::kHeader, trimBlanks(line.substr(first + 1, close - first - 1)), 0};
        }
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        return {};
    }
    return {Kind::kKey, trimBlanks(line.substr(0, eq)), eq + 1};
}

// Where a key is, or where it would go, in the first section of its name.
struct Location {
    std::string_view fileLineEnd;  // the first line end of the text, empty if it has none
    bool sectionFound = false;
    bool keyFound = false;
    Line line;  // the key's line; else the section's last key line or its header
    std::size_t valueBegin = 0;
};

Location locate(std::string_view text, std::string_view section, std::string_view key) {
    Location at;
    bool inSection = false;
    forEachLine(text, [&](const Line& line) {
        if (at.fileLineEnd.empty()) {
            at.fileLineEnd = line.lineEnd;
        }
        const Classified c = classify(line.text);
        if (c.kind == Kind::kHeader) {
            if (inSection) {
                return false;  // only the first section of the name counts
            }
            if (equalsIgnoringCase(c.name, section)) {
                at.sectionFound = inSection = true;
                at.line = line;
            }
        } else if (c.kind == Kind::kKey && inSection) {
            at.line = line;
            if (equalsIgnoringCase(c.name, key)) {
                at.keyFound = true;
                at.valueBegin = c.valueBegin;
                return false;
            }
        }
        return true;
    });
    return at;
}

std::string_view withoutQuotePair(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::optional<std::string> iniRead(std::string_view text, std::string_view section,
                                   std::string_view key) {
    const Location at = locate(text, section, key);
    if (!at.keyFound) {
        return std::nullopt;
    }
    return std::string(withoutQuotePair(trimBlanks(at.line.text.substr(at.valueBegin))));
}

std::string iniWrite(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value, std::string_view newline) {
    const Location at = locate(text, section, key);
    const std::string_view nl = at.fileLineEnd.empty() ? newline : at.fileLineEnd;
    std::string out;

    if (at.keyFound) {
        // The line keeps everything up to its "=", so the key's spelling and place stay.
        out.append(text.substr(0, at.line.begin + at.valueBegin)).append(value);
        out.append(text.substr(at.line.begin + at.line.text.size()));
        return out;
    }
    const std::string entry = std::string(key) + "=" + std::string(value);
    if (at.sectionFound) {
        // Right after the section's last key line, ahead of any blank or comment lines below it.
        const std::size_t lineStop = at.line.begin + at.line.text.size();
        if (at.line.lineEnd.empty()) {  // that line ends the text without a line break
            out.append(text).append(nl).append(entry);
        } else {
            const std::size_t insertAt = lineStop + at.line.lineEnd.size();
            out.append(text.substr(0, insertAt)).append(entry).append(nl);
            out.append(text.substr(insertAt));
        }
        return out;
    }
    out.append(text);
    const std::size_t bomSize = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    if (text.size() > bomSize && text.back() != '\n' && text.back() != '\r') {
        out.append(nl);
    }
    out.append("[").append(section).append("]").append(nl).append(entry).append(nl);
    return out;
}

}  // namespace lw
