#pragma once

#include <compare>
#include <cstddef>
#include <memory>
#include <optional>
#include <unordered_map>

#include <QFont>
#include <QString>
#include <QTextLayout>

#include "core/log_lines.h"

namespace lw {

// A row of the wrapped text: row `row` of line `line`.
struct RowPos {
    std::size_t line = 0;
    int row = 0;
    auto operator<=>(const RowPos&) const = default;
};

// The lines of a LogLines wrapped at one width in one font. Only the lines asked for are
// decoded and laid out, and the layouts of recently asked lines are kept, so that the cost of
// a question does not grow with the number of lines. Every row has the same height.
class LogLayout {
  public:
    // Shows `lines` (null for none), which must stay alive and unchanged while they are shown.
    void setLines(const LogLines* lines);

    // Wraps at `width` pixels in `font`; a change drops the kept layouts.
    void setGeometry(const QFont& font, int width);

    const LogLines* lines() const { return lines_; }
    std::size_t lineCount() const { return lines_ ? lines_->size() : 0; }
    int rowHeight() const { return rowHeight_; }

    // The layout of line `line` (< lineCount()): its rows are its QTextLines, row r placed at
    // y = r * rowHeight(). Valid until the next setLines, setGeometry or trim.
    const QTextLayout& layout(std::size_t line);

    int rowCount(std::size_t line) { return layout(line).lineCount(); }

    // The text of line `line`, decoded as it is shown.
    QString text(std::size_t line);

    // `from` moved by `rows` rows (back when negative), stopping at the first row and at the
    // last row. `moved` gets the number of rows actually moved (negative when back).
    RowPos advance(RowPos from, long long rows, long long* moved = nullptr);

    // The last top row from which `pageRows` rows reach the end: the top row at which the last
    // row is at the bottom of a page, or the first row when all rows fit on one page.
    RowPos lastTop(int pageRows);

    // Drops the kept layouts when there are many, except those of lines first to end - 1.
    void trim(std::size_t first, std::size_t end);

  private:
    void dropLayouts();

    const LogLines* lines_ = nullptr;
    QFont font_;
    int width_ = 0;
    int rowHeight_ = 1;
    std::unordered_map<std::size_t, std::unique_ptr<QTextLayout>> layouts_;
    std::optional<std::pair<int, RowPos>> lastTop_;  // page rows and the answer for them
};

}  // namespace lw
