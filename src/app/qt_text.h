#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace lw {

// Text for display from bytes the program keeps as they are: UTF-8 when they are valid UTF-8,
// else Windows-1252 (the game and older settings files are Windows text).
QString displayText(std::string_view bytes);

// The bytes the program keeps for text the user typed or the toolkit gave.
std::string keptBytes(const QString& text);

}  // namespace lw
