#pragma once

#include <cstddef>

#include <QAbstractScrollArea>
#include <QPoint>
#include <QString>

#include "app/log_layout.h"
#include "core/log_lines.h"

namespace lw {

// The read-only log view: shows the lines it is given, wrapped at its right edge, without
// scroll bars. It keeps no copy of the lines and lays out only the rows on screen, so a million
// lines show as fast as ten. The wheel and the keys scroll it; the mouse selects text, Ctrl+A
// selects all and Ctrl+C copies.
class LogView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit LogView(QWidget* parent = nullptr);

    // Shows these lines from the first one, with nothing selected. The view refers to `lines`:
    // they must stay alive and unchanged until the next setLines call or the end of the view.
    void setLines(const LogLines& lines);

    // All lines joined by "\n", without a final break.
    QString toPlainText() const;

    // The line whose row is at the top of the view.
    int topLine() const { return static_cast<int>(top_.line); }

    // The selected text, lines joined by "\n"; empty when nothing is selected.
    QString selectedText() const;

    void selectAll();

    // Puts the selected text on the clipboard; does nothing when nothing is selected.
    void copy();

    bool isReadOnly() const { return true; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // A place in the text: before character `offset` (UTF-16) of line `line`.
    struct TextPos {
        std::size_t line = 0;
        qsizetype offset = 0;
        auto operator<=>(const TextPos&) const = default;
    };

    bool hasSelection() const { return anchor_ != cursor_; }
    TextPos endOfText();
    void relayout();
    int pageRows() const;
    void scrollRows(long long rows);
    void scrollTo(RowPos top);
    TextPos positionAt(QPoint point);
    void extendSelection(QPoint point);

    LogLayout layout_;
    RowPos top_;
    TextPos anchor_;  // where the selection began; the selection runs to cursor_
    TextPos cursor_;
    bool dragging_ = false;
    QPoint lastMouse_;
    int wheelRemainder_ = 0;  // eighths of a degree not yet turned into rows
};

}  // namespace lw
