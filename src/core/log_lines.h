#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/big_buffer.h"

namespace lw {

// Calls fn(line) for each line of a file's bytes, in order: a line ends at CR LF, at CR alone
// or at LF alone (LF CR is two breaks); a NUL byte ends the text; a last line without a break
// counts, a break at the very end adds no empty line, and empty bytes have no lines. Bytes up to
// the end of a line are not read again after fn gets it, so fn may overwrite them.
template <class Fn>
void forEachLine(std::string_view bytes, Fn&& fn);

// The lines of a file's bytes, split as forEachLine does.
std::vector<std::string_view> splitLines(std::string_view bytes);

// A shop log line with every "<div indent=wrapped>" cut out, then every "</div>": each removal
// is one exact, case-sensitive pass from left to right over the line as it stood before it.
std::string cleanLine(std::string_view line);

// The lines of the log view, held once: their bytes joined by "\n" (no line holds CR, LF or
// NUL) and where each line ends, with the encoding of the file each came from. This is what
// the view shows and what the sums read.
class LogLines {
  public:
    std::size_t size() const noexcept { return ends_.size(); }
    bool empty() const noexcept { return ends_.empty(); }

    // Line i, 0 <= i < size().
    std::string_view operator[](std::size_t i) const noexcept;

    // All lines joined by "\n", without a final break.
    std::string_view joined() const noexcept { return {bytes_.data(), bytes_.size()}; }

    // Whether line i came from text that is valid UTF-8 (else it is shown as Windows-1252).
    bool isUtf8(std::size_t i) const noexcept;

    // Appends one line as it is (it must hold no CR, LF or NUL), taken as UTF-8 text.
    void append(std::string_view line);

    // Splits a file's bytes into lines, cleans each and appends them in file order; the lines
    // keep whether the file's bytes (up to a NUL) were valid UTF-8. The cleaned text is
    // written straight from fileBytes into the lines' buffer.
    void appendFile(std::string_view fileBytes);

    // Makes room for `bytes` more bytes of text and `lines` more lines, so that appending
    // files whose bytes, plus one per file for the break between files, come to no more does
    // not move what is held. Only an estimate: more is appended correctly, just slower.
    void reserve(std::size_t bytes, std::size_t lines);

    void clear() noexcept;

  private:
    std::vector<char, BigBufferAllocator<char>> bytes_;
    std::vector<std::size_t, BigBufferAllocator<std::size_t>> ends_;
    // First line of each stretch of lines from non-UTF-8 text, and the line after its last.
    std::vector<std::pair<std::size_t, std::size_t>> latin1Runs_;
};

// Whether bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8 text (the five unassigned bytes map to the C1 controls).
std::string windows1252ToUtf8(std::string_view bytes);

template <class Fn>
void forEachLine(std::string_view bytes, Fn&& fn) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    // The next CR and the next LF are each looked for only once they lie behind the line
    // start, so each kind of byte is searched once over the text (memchr), not byte by byte.
    const std::size_t n = bytes.size();
    std::size_t cr = bytes.find('\r');
    std::size_t lf = bytes.find('\n');
    std::size_t start = 0;
    while (start < n) {
        if (cr < start) {
            cr = bytes.find('\r', start);
        }
        if (lf < start) {
            lf = bytes.find('\n', start);
        }
        const std::size_t end = cr < lf ? cr : lf;
        if (end == std::string_view::npos) {
            fn(bytes.substr(start));
            return;
        }
        fn(bytes.substr(start, end - start));
        start = end + ((end == cr && end + 1 == lf) ? 2 : 1);
    }
}

}  // namespace lw
