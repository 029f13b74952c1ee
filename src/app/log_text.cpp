#include "app/log_text.h"

#include <string>
#include <string_view>

namespace lw {

namespace {

QString decoded(std::string_view bytes, bool utf8) {
    if (utf8) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    const std::string text = windows1252ToUtf8(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString lineText(const LogLines& lines, std::size_t i) {
    return decoded(lines[i], lines.isUtf8(i));
}

QString linesText(const LogLines& lines, std::size_t first, std::size_t end) {
    // Consecutive lines lie side by side in the joined bytes, with their "\n" between them.
    const std::string_view all = lines.joined();
    const auto offset = [&](std::string_view line) {
        return static_cast<std::size_t>(line.data() - all.data());
    };
    QString text;
    std::size_t i = first;
    while (i < end) {
        const bool utf8 = lines.isUtf8(i);
        std::size_t j = i + 1;
        while (j < end && lines.isUtf8(j) == utf8) {
            ++j;
        }
        const std::size_t from = offset(lines[i]);
        const std::size_t to = offset(lines[j - 1]) + lines[j - 1].size();
        if (i > first) {
            text += QLatin1Char('\n');
        }
        // The first stretch is taken over without a copy; in the usual case it is all there is.
        text += decoded(all.substr(from, to - from), utf8);
        i = j;
    }
    return text;
}

}  // namespace lw
