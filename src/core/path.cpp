#include "core/path.h"

#include <algorithm>

namespace lw {

std::string nativePath(std::string_view windowsPath) {
    std::string path(windowsPath);
    std::replace(path.begin(), path.end(), '\\', kSep);
    return path;
}

std::string pickedFileDirectory(std::string_view pickedFile, char sep) {
    const auto last = pickedFile.rfind(sep);
    if (last == std::string_view::npos) {
        return std::string(1, sep);
    }
    // "X:\" is a drive's top folder: its separator belongs to the folder, so the appended one
    // makes two.
    const char drive = pickedFile[0];
    const bool driveTop = last == 2 && pickedFile[1] == ':' &&
                          ((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'));
    std::string dir(pickedFile.substr(0, driveTop ? last + 1 : last));
    dir += sep;
    return dir;
}

}  // namespace lw
