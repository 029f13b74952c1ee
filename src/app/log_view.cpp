#include "app/log_view.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <QWheelEvent>

#include "app/log_text.h"

namespace lw {

namespace {

// Room between the frame and the text, as a QPlainTextEdit leaves it.
constexpr int kMargin = 4;
// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

}  // namespace

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    relayout();
}

void LogView::setLines(const LogLines& lines) {
    layout_.setLines(&lines);
    top_ = {};
    anchor_ = cursor_ = {};
    dragging_ = false;
    wheelRemainder_ = 0;
    viewport()->update();
}

QString LogView::toPlainText() const {
    const LogLines* lines = layout_.lines();
    return lines ? linesText(*lines, 0, lines->size()) : QString();
}

QString LogView::selectedText() const {
    if (!hasSelection()) {
        return {};
    }
    const LogLines& lines = *layout_.lines();
    const auto [from, to] = std::minmax(anchor_, cursor_);
    // Decode the whole lines once and cut the ends off, so that a selection of a million lines
    // is built in one piece.
    QString text = linesText(lines, from.line, to.line + 1);
    text.chop(lineText(lines, to.line).size() - to.offset);
    text.remove(0, from.offset);
    return text;
}

LogView::TextPos LogView::endOfText() {
    const std::size_t count = layout_.lineCount();
    return count == 0 ? TextPos{} : TextPos{count - 1, layout_.text(count - 1).size()};
}

void LogView::selectAll() {
    anchor_ = {};
    cursor_ = endOfText();
    viewport()->update();
}

void LogView::copy() {
    if (hasSelection()) {
        QGuiApplication::clipboard()->setText(selectedText());
    }
}

void LogView::relayout() {
    const int width = viewport()->width() - 2 * kMargin;
    if (layout_.lineCount() == 0) {
        layout_.setGeometry(font(), width);
        return;
    }
    // The text at the top stays at the top when the rows wrap anew.
    const int topChar = layout_.layout(top_.line).lineAt(top_.row).textStart();
    layout_.setGeometry(font(), width);
    top_.row = layout_.layout(top_.line).lineForTextPosition(topChar).lineNumber();
    scrollTo(top_);
}

int LogView::pageRows() const {
    return std::max((viewport()->height() - kMargin) / layout_.rowHeight(), 1);
}

void LogView::scrollRows(long long rows) {
    scrollTo(layout_.advance(top_, rows));
}

void LogView::scrollTo(RowPos top) {
    top = std::min(top, layout_.lastTop(pageRows()));
    if (top != top_) {
        top_ = top;
        viewport()->update();
    }
}

LogView::TextPos LogView::positionAt(QPoint point) {
    if (layout_.lineCount() == 0) {
        return {};
    }
    const long long row = std::max(point.y() - kMargin, 0) / layout_.rowHeight();
    long long moved = 0;
    const RowPos at = layout_.advance(top_, row, &moved);
    if (moved < row) {
        return endOfText();  // below the last row
    }
    const QTextLine line = layout_.layout(at.line).lineAt(at.row);
    return {at.line, line.xToCursor(point.x() - kMargin)};
}

void LogView::extendSelection(QPoint point) {
    point.setY(std::clamp(point.y(), 0, std::max(viewport()->height() - 1, 0)));
    const TextPos to = positionAt(point);
    if (to != cursor_) {
        cursor_ = to;
        viewport()->update();
    }
}

void LogView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const std::size_t count = layout_.lineCount();
    if (count == 0) {
        return;
    }
    const int rowHeight = layout_.rowHeight();
    const int height = viewport()->height();
    // Rows above the top row must not show in the margin.
    const QRect textArea = viewport()->rect().adjusted(0, kMargin, 0, 0);
    painter.setClipRect(textArea);
    painter.setPen(palette().color(QPalette::Text));
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    const int breakWidth = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    const auto [from, to] = std::minmax(anchor_, cursor_);

    int y = kMargin - top_.row * rowHeight;
    std::size_t line = top_.line;
    for (; line < count && y < height; ++line) {
        const QTextLayout& layout = layout_.layout(line);
        QList<QTextLayout::FormatRange> selections;
        const bool inSelection = hasSelection() && line >= from.line && line <= to.line;
        if (inSelection) {
            const qsizetype start = line == from.line ? from.offset : 0;
            const qsizetype end = line == to.line ? to.offset : layout.text().size();
            if (end > start) {
                selections.append(
                    {static_cast<int>(start), static_cast<int>(end - start), selected});
            }
        }
        layout.draw(&painter, QPointF(kMargin, y), selections, textArea);
        const QTextLine last = layout.lineAt(layout.lineCount() - 1);
        if (inSelection && line < to.line) {
            // A selected line break shows as a blank, as in Qt's own text boxes.
            painter.fillRect(
                QRectF(kMargin + last.naturalTextWidth(), y + last.y(), breakWidth, rowHeight),
                selected.background());
        }
        y += layout.lineCount() * rowHeight;
    }
    layout_.trim(top_.line, line);
}

void LogView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

void LogView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        relayout();
        viewport()->update();
    }
}

void LogView::keyPressEvent(QKeyEvent* event) {
    const int page = std::max(pageRows() - 1, 1);  // a page keeps one row in sight
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::MoveToNextLine)) {
        scrollRows(1);
    } else if (event->matches(QKeySequence::MoveToPreviousLine)) {
        scrollRows(-1);
    } else if (event->matches(QKeySequence::MoveToNextPage)) {
        scrollRows(page);
    } else if (event->matches(QKeySequence::MoveToPreviousPage)) {
        scrollRows(-page);
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        scrollTo({});
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        scrollTo(layout_.lastTop(pageRows()));
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void LogView::wheelEvent(QWheelEvent* event) {
    // Touchpads send fractions of a notch; they add up to whole rows.
    wheelRemainder_ += event->angleDelta().y() * QApplication::wheelScrollLines();
    const int rows = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= rows * kWheelNotch;
    scrollRows(-rows);
    if (dragging_) {
        extendSelection(lastMouse_);
    }
    event->accept();
}

void LogView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    lastMouse_ = event->position().toPoint();
    cursor_ = positionAt(lastMouse_);
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        anchor_ = cursor_;
    }
    dragging_ = true;
    viewport()->update();
}

void LogView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        return;
    }
    lastMouse_ = event->position().toPoint();
    // Dragging past the top or bottom edge brings the next rows into view.
    if (lastMouse_.y() < 0) {
        scrollRows(-1);
    } else if (lastMouse_.y() >= viewport()->height()) {
        scrollRows(1);
    }
    extendSelection(lastMouse_);
}

void LogView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_) {
        event->ignore();
        return;
    }
    dragging_ = false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection()) {
        clipboard->setText(selectedText(), QClipboard::Selection);
    }
}

void LogView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || layout_.lineCount() == 0) {
        event->ignore();
        return;
    }
    const TextPos at = positionAt(event->position().toPoint());
    const QString text = layout_.text(at.line);
    const auto inWord = [&](qsizetype i) { return text.at(i).isLetterOrNumber(); };
    qsizetype start = at.offset;
    qsizetype end = at.offset;
    while (start > 0 && inWord(start - 1)) {
        --start;
    }
    while (end < text.size() && inWord(end)) {
        ++end;
    }
    anchor_ = {at.line, start};
    cursor_ = {at.line, end};
    dragging_ = false;
    viewport()->update();
}

}  // namespace lw
