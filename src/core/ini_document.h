#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lw {

// The blanks that profile-format text drops around names and values.
inline constexpr std::string_view kIniBlanks = " \t\r\n\v\f";

// Reads the value of a key from profile-format (INI) text: section and key names match without
// regard to ASCII case; the first section of a name and its first key of a name count; the value
// is everything after the first "=", blanks dropped at both ends, then one matching pair of
// quotes (" or ') around it dropped. A UTF-8 byte order mark at the start is skipped; CR LF, LF
// and CR end lines; lines starting with ";" are comments. nullopt when the key is not there.
std::optional<std::string> iniRead(std::string_view text, std::string_view section,
                                   std::string_view key);

// Returns `text` with the key set to `value`, written as key=value with the value exactly as
// given. An existing key keeps its line place and spelling, only its value changes; a missing
// key is added right after the last key line of its section; a missing section is added at
// the end of the text (with a line break first when the text does not end in one). New lines
// use the line end the text already uses, else `newline`. Every other byte stays as it was.
std::string iniWrite(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value, std::string_view newline);

}  // namespace lw
