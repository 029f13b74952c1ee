#include "core/log_lines.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lw {

namespace {

constexpr char kOpenTag[] = "<div indent=wrapped>";
constexpr char kCloseTag[] = "</div>";

// The first `c` in [first, last), or last. Short stretches, such as the tail after a closing
// tag, are cheaper to walk than a call to memchr.
const char* findByte(const char* first, const char* last, char c) {
    if (last - first < 16) {
        return std::find(first, last, c);
    }
    const void* hit = std::memchr(first, c, static_cast<std::size_t>(last - first));
    return hit != nullptr ? static_cast<const char*>(hit) : last;
}

template <std::size_t N>
bool startsWith(const char* first, const char* last, const char (&tag)[N]) {
    return static_cast<std::size_t>(last - first) >= N - 1 && std::memcmp(first, tag, N - 1) == 0;
}

// Cuts every "</div>" out of [first, last) in one pass from left to right, moving the kept bytes
// down; returns the new end.
char* cutCloseTags(char* first, char* last) {
    char* out = first;
    const char* in = first;
    for (;;) {
        const char* const lt = findByte(in, last, '<');
        std::memmove(out, in, static_cast<std::size_t>(lt - in));
        out += lt - in;
        in = lt;
        if (in == last) {
            return out;
        }
        if (startsWith(in, last, kCloseTag)) {
            in += sizeof kCloseTag - 1;
        } else {
            *out++ = *in++;
        }
    }
}

// Writes the cleaned `line` to `out`, which may be the line's own start, lie before it in the
// same buffer or lie in another buffer; returns the end of what it wrote. The opening tags are cut
// while moving, the closing tags then from what was written, from its first '<' on, since only
// there can one be.
char* writeCleanLine(char* out, std::string_view line) {
    const char* in = line.data();
    const char* const end = in + line.size();
    char* firstLt = nullptr;
    for (;;) {
        const char* const lt = findByte(in, end, '<');
        std::memmove(out, in, static_cast<std::size_t>(lt - in));
        out += lt - in;
        in = lt;
        if (in == end) {
            break;
        }
        if (startsWith(in, end, kOpenTag)) {
            in += sizeof kOpenTag - 1;
            continue;
        }
        if (firstLt == nullptr) {
            firstLt = out;
        }
        *out++ = *in++;
    }
    return firstLt != nullptr ? cutCloseTags(firstLt, out) : out;
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    forEachLine(bytes, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

std::string cleanLine(std::string_view line) {
    std::string out(line);
    out.resize(static_cast<std::size_t>(writeCleanLine(out.data(), out) - out.data()));
    return out;
}

std::string_view LogLines::operator[](std::size_t i) const noexcept {
    const std::size_t start = i == 0 ? 0 : ends_[i - 1] + 1;
    return joined().substr(start, ends_[i] - start);
}

bool LogLines::isUtf8(std::size_t i) const noexcept {
    // The last run that starts at or before line i is the only one that can hold it.
    const auto after =
        std::upper_bound(latin1Runs_.begin(), latin1Runs_.end(), i,
                         [](std::size_t line, const std::pair<std::size_t, std::size_t>& run) {
                             return line < run.first;
                         });
    return after == latin1Runs_.begin() || i >= std::prev(after)->second;
}

void LogLines::append(std::string_view line) {
    if (!ends_.empty()) {
        bytes_.push_back('\n');
    }
    bytes_.insert(bytes_.end(), line.begin(), line.end());
    ends_.push_back(bytes_.size());
}

void LogLines::appendFile(std::string_view fileBytes) {
    const std::string_view text = fileBytes.substr(0, fileBytes.find('\0'));
    if (text.empty()) {
        return;
    }
    const std::size_t firstLine = ends_.size();
    const std::size_t start = bytes_.size();
    // A cleaned line is never longer than the raw one and each break is at least one byte, so
    // the cleaned file fits in its raw size and one break before it. At least doubling keeps
    // many files appended one by one from copying all again each time.
    const std::size_t needed = start + 1 + text.size();
    if (needed > bytes_.capacity()) {
        bytes_.reserve(std::max(needed, 2 * bytes_.capacity()));
    }
    bytes_.resize(needed);  // left uninitialized: cleaning overwrites what it keeps
    char* const data = bytes_.data();
    char* out = data + start;
    try {
        forEachLine(text, [&](std::string_view line) {
            if (!ends_.empty()) {
                *out++ = '\n';
            }
            out = writeCleanLine(out, line);
            ends_.push_back(static_cast<std::size_t>(out - data));
        });
    } catch (...) {
        // Out of memory for the line ends: drop the whole file, keep the lines from before.
        ends_.resize(firstLine);
        bytes_.resize(start);
        throw;
    }
    bytes_.resize(static_cast<std::size_t>(out - data));
    if (isValidUtf8(text)) {
        return;
    }
    if (!latin1Runs_.empty() && latin1Runs_.back().second == firstLine) {
        latin1Runs_.back().second = ends_.size();
    } else {
        latin1Runs_.emplace_back(firstLine, ends_.size());
    }
}

void LogLines::reserve(std::size_t bytes, std::size_t lines) {
    bytes_.reserve(bytes_.size() + bytes);
    ends_.reserve(ends_.size() + lines);
}

void LogLines::clear() noexcept {
    bytes_.clear();
    ends_.clear();
    latin1Runs_.clear();
}

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p != end) {
        // Plain ASCII, the bulk of a log, is checked 32 bytes at a time.
        if (end - p >= 32) {
            std::uint64_t words[4];
            std::memcpy(words, p, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080u) == 0) {
                p += 32;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        // The allowed range of the second byte excludes overlong forms, surrogates and code
        // points above U+10FFFF; later bytes are plain continuation bytes.
        std::ptrdiff_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high) {
            return false;
        }
        for (std::ptrdiff_t k = 2; k < length; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return false;
            }
        }
        p += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    // Code points of 0x80..0x9F; the unassigned 0x81, 0x8D, 0x8F, 0x90 and 0x9D stay C1 controls.
    static constexpr std::array<char16_t, 32> kHigh = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t cp = byte >= 0x80 && byte <= 0x9F ? kHigh[byte - 0x80] : byte;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace lw
