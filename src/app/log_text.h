#pragma once

#include <cstddef>

#include <QString>

#include "core/log_lines.h"

namespace lw {

// Line i of `lines` (0 <= i < lines.size()) as text: UTF-8 when it came from UTF-8 text, else
// Windows-1252.
QString lineText(const LogLines& lines, std::size_t i);

// Lines first to end - 1 (first <= end <= lines.size()) decoded as lineText does and joined by
// "\n", without a final break. Each stretch of lines of one encoding is decoded in one go, so a
// million lines cost one pass over their bytes.
QString linesText(const LogLines& lines, std::size_t first, std::size_t end);

}  // namespace lw
