#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini_file.h"
#include "core/roster.h"

namespace lw {

// The settings file's name; it lies in the folder of the program's executable.
inline constexpr std::string_view kSettingsFileName = "LedgerwickCfg.ini";

// The settings file's full path for the folder that holds the executable.
std::string settingsPath(std::string_view exeFolder);

// A roster entry as a line of the settings file: CharDir, AccountDir and Name joined by ",",
// unquoted, so an unnamed character's line ends in the comma.
std::string charLine(const TCharacter& character);

// A character from its settings line: CharDir is the text before the first comma, AccountDir
// the text up to the second, Name all that follows the second (commas included). Missing
// fields are empty. nullopt when CharDir is empty: such a line holds no character.
std::optional<TCharacter> parseCharLine(std::string_view line);

// The first-run flag: "Firstrun" of "ProgrammIntern", default true.
bool readFirstRun(const TIniFile& ini);

// The stored game directory: "Verzeichnis" of "AnarchyOnline", default empty.
std::string readGameDir(const TIniFile& ini);

// Writes the game directory at once ("Verzeichnis" of "AnarchyOnline").
void writeGameDir(TIniFile& ini, std::string_view aoDir);

// Loads the saved roster: reads the count ("Chars" of "Charcount", default "0"), sets
// `charCount` to it, then reads the line of each section "Char1" .. "Char<count>" and keeps the
// entries that hold a character, so that `charCount` ends as the number kept and `characters`
// holds exactly those entries when any were read (a count of 0 or less reads no line and leaves
// `characters` as it was, with `charCount` 0). Throws Error for a count that is no integer,
// with `charCount` left 0.
void loadRoster(const TIniFile& ini, std::vector<TCharacter>& characters, std::int32_t& charCount);

// The stored tax rate: "OrgSteuer" of "AnarchyOnline", default "0", converted by strToInt.
// Throws Error when it is no integer.
std::int32_t readOrgTax(const TIniFile& ini);

// The close sequence's writes, in this order: "Firstrun" 0; the count; the line of each roster
// entry 0 .. charCount - 1 as "Chars" of "Char<N>"; "Orgsteuer"; "Verzeichnis". Each reaches the
// file at once. Throws Error "Unable to write to ..." at the first write that fails; the
// writes before it stay in the file.
void saveSettings(TIniFile& ini, const std::vector<TCharacter>& characters, std::int32_t charCount,
                  std::int32_t orgTaxPercent, std::string_view aoDir);

}  // namespace lw
