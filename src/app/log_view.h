#pragma once

#include <QPlainTextEdit>

#include "core/log_lines.h"

namespace lw {

// The read-only log view: shows the lines it is given, wrapped at its right edge, without
// scroll bars.
class LogView : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit LogView(QWidget* parent = nullptr);

    // Shows exactly these lines, in one bulk operation.
    void setLines(const LogLines& lines);
};

}  // namespace lw
