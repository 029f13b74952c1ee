#include "app/qt_text.h"

#include "core/log_lines.h"

namespace lw {

QString displayText(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const std::string utf8 = windows1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string keptBytes(const QString& text) {
    return text.toStdString();
}

}  // namespace lw
