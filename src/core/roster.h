#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace lw {

// One known character: the display name the user gave (empty until given), the name of the
// character's folder, and the name of the account folder that holds it, as listed on disk.
struct TCharacter {
    std::string Name;
    std::string CharDir;
    std::string AccountDir;
    friend bool operator==(const TCharacter&, const TCharacter&) = default;
};

// The path of a character's shop log: aoDir + "Prefs\" + AccountDir + "\" + CharDir +
// "\Playershoplog.html", by plain concatenation, in the platform's form.
std::string shopLogPath(std::string_view aoDir, const TCharacter& character);

// The search path that finds every "prefs.xml" below the game's Prefs folder.
std::string prefsSearchPath(std::string_view aoDir);

// The search path that finds every shop log below the game's Prefs folder.
std::string shopLogSearchPath(std::string_view aoDir);

// Turns the paths that the prefs.xml search found into scan entries, in path order: the part
// of each path after aoDir + "prefs\" is split into components; the first two are the account
// and the character folder; a path with fewer than two components, one whose character
// folder is not an existing directory, or one whose character folder is exactly "Char0" is no
// character. Entries have CharDir and AccountDir set and an empty Name; one character can give
// several entries. `onPath` runs once before each path is looked at (the window lets waiting
// events run there); aoDir is read before the first call, so onPath may change it.
std::vector<TCharacter> getallchars(const FileSystem& fs, std::string_view aoDir,
                                    const std::vector<std::string>& paths,
                                    const std::function<void()>& onPath = {});

// Appends to the roster (entries 0 to charCount - 1 of `characters`) each scan entry whose
// CharDir, compared exactly, no roster entry has yet, entries appended earlier in the same call
// included; the new entry has an empty Name. Existing entries are never changed. Afterwards
// `characters` holds exactly charCount entries if anything was appended, and is otherwise
// left as it was. A negative charCount counts as 0 (an empty roster). Throws nothing.
void mergeNewChars(std::vector<TCharacter>& characters, std::int32_t& charCount,
                   const std::vector<TCharacter>& scanned);

}  // namespace lw
