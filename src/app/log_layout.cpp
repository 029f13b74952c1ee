#include "app/log_layout.h"

#include <algorithm>

#include <QTextOption>
#include <QtMath>

#include "app/log_text.h"

namespace lw {

namespace {

// More than a screenful of lines, so that scrolling back and forth lays out nothing twice.
constexpr std::size_t kKeptLayouts = 256;

// The height of a laid-out line of text, as Qt's own text boxes space their rows: the font's
// line spacing can be smaller (Tahoma's leading is negative) and would let rows overlap.
int rowHeightOf(const QFont& font) {
    QTextLayout sample(QStringLiteral("X"), font);
    sample.beginLayout();
    const QTextLine line = sample.createLine();
    sample.endLayout();
    return qCeil(line.height());
}

}  // namespace

void LogLayout::setLines(const LogLines* lines) {
    lines_ = lines;
    dropLayouts();
}

void LogLayout::setGeometry(const QFont& font, int width) {
    width = std::max(width, 1);
    if (width == width_ && font == font_) {
        return;
    }
    font_ = font;
    width_ = width;
    rowHeight_ = std::max(rowHeightOf(font_), 1);
    dropLayouts();
}

void LogLayout::dropLayouts() {
    layouts_.clear();
    lastTop_.reset();
}

const QTextLayout& LogLayout::layout(std::size_t line) {
    std::unique_ptr<QTextLayout>& slot = layouts_[line];
    if (!slot) {
        slot = std::make_unique<QTextLayout>(lineText(*lines_, line), font_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        slot->setTextOption(option);
        slot->setCacheEnabled(true);  // keeps the glyphs for the next paints
        slot->beginLayout();
        int row = 0;
        // An empty line still gets one row.
        for (QTextLine l = slot->createLine(); l.isValid(); l = slot->createLine()) {
            l.setLineWidth(width_);
            l.setPosition(QPointF(0, row * rowHeight_));
            ++row;
        }
        slot->endLayout();
    }
    return *slot;
}

QString LogLayout::text(std::size_t line) {
    const auto kept = layouts_.find(line);
    return kept != layouts_.end() ? kept->second->text() : lineText(*lines_, line);
}

RowPos LogLayout::advance(RowPos from, long long rows, long long* moved) {
    long long done = 0;
    RowPos p = from;
    if (lineCount() == 0) {
        rows = 0;
    }
    while (rows > 0) {
        const int below = rowCount(p.line) - 1 - p.row;  // rows after p in its line
        if (rows <= below) {
            p.row += static_cast<int>(rows);
            done += rows;
            break;
        }
        if (p.line + 1 == lineCount()) {
            p.row += below;
            done += below;
            break;
        }
        done += below + 1;
        rows -= below + 1;
        ++p.line;
        p.row = 0;
    }
    while (rows < 0) {
        if (-rows <= p.row) {
            p.row += static_cast<int>(rows);
            done += rows;
            break;
        }
        if (p.line == 0) {
            done -= p.row;
            p.row = 0;
            break;
        }
        done -= p.row + 1;
        rows += p.row + 1;
        --p.line;
        p.row = rowCount(p.line) - 1;
    }
    if (moved) {
        *moved = done;
    }
    return p;
}

RowPos LogLayout::lastTop(int pageRows) {
    if (lineCount() == 0) {
        return {};
    }
    if (!lastTop_ || lastTop_->first != pageRows) {
        const std::size_t last = lineCount() - 1;
        const RowPos end{last, rowCount(last) - 1};
        lastTop_.emplace(pageRows, advance(end, -(std::max(pageRows, 1) - 1)));
    }
    return lastTop_->second;
}

void LogLayout::trim(std::size_t first, std::size_t end) {
    if (layouts_.size() <= kKeptLayouts) {
        return;
    }
    std::erase_if(layouts_,
                  [&](const auto& kept) { return kept.first < first || kept.first >= end; });
}

}  // namespace lw
