#include "app/log_view.h"

#include "app/qt_text.h"
#include "core/log_lines.h"

namespace lw {

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void LogView::setLines(const LogLines& lines) {
    QString text;
    bool allUtf8 = true;
    for (std::size_t i = 0; i < lines.size() && allUtf8; ++i) {
        allUtf8 = lines.isUtf8(i);
    }
    if (allUtf8) {
        const std::string_view all = lines.joined();
        text = QString::fromUtf8(all.data(), static_cast<qsizetype>(all.size()));
    } else {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0) {
                text += QLatin1Char('\n');
            }
            const std::string_view line = lines[i];
            text += lines.isUtf8(i)
                        ? QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()))
                        : displayText(windows1252ToUtf8(line));
        }
    }
    setPlainText(text);
}

}  // namespace lw
