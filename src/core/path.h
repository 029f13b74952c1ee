#pragma once

#include <string>
#include <string_view>

namespace lw {

// The platform's path separator. Every path the program builds uses it where the game's
// Windows paths have a backslash; this is the only place that knows the difference.
#ifdef _WIN32
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

// A path written with backslashes, as the game's layout names it, in the platform's form:
// every backslash becomes kSep (nothing changes on Windows).
std::string nativePath(std::string_view windowsPath);

// The game directory for a picked file: the path up to its last separator `sep`, without it,
// then one `sep` appended. Only where that separator follows a drive's colon directly does it
// stay: "C:\Games\AO\Anarchy.exe" gives "C:\Games\AO\", "D:\Anarchy.exe" gives "D:\\"
// and "/Anarchy.exe" gives "/". A path without a separator gives `sep` alone.
std::string pickedFileDirectory(std::string_view pickedFile, char sep = kSep);

}  // namespace lw
