#include "core/roster.h"

#include <algorithm>
#include <unordered_set>

#include "core/path.h"

namespace lw {

std::string shopLogPath(std::string_view aoDir, const TCharacter& character) {
    std::string path(aoDir);
    path += nativePath("Prefs\\");
    path += character.AccountDir;
    path += kSep;
    path += character.CharDir;
    path += nativePath("\\Playershoplog.html");
    return path;
}

std::string prefsSearchPath(std::string_view aoDir) {
    return std::string(aoDir) + nativePath("prefs\\prefs.xml");
}

std::string shopLogSearchPath(std::string_view aoDir) {
    return std::string(aoDir) + nativePath("Prefs\\playershoplog.html");
}

std::vector<TCharacter> getallchars(const FileSystem& fs, std::string_view aoDir,
                                    const std::vector<std::string>& paths,
                                    const std::function<void()>& onPath) {
    // aoDir is used only before the first onPath, which may let a handler change it.
    const std::string prefix = std::string(aoDir) + nativePath("prefs\\");
    // Names resolve component by component, so resolving the Prefs folder once gives what
    // resolving it within every character's path would, at a fraction of the cost.
    const auto prefsFolder = fs.resolve(std::string(aoDir) + "Prefs");

    std::vector<TCharacter> entries;
    std::string characterFolder;
    for (const std::string& path : paths) {
        if (onPath) {
            onPath();
        }
        if (!prefsFolder || !path.starts_with(prefix)) {
            continue;
        }
        const std::string_view below = std::string_view(path).substr(prefix.size());
        const auto accountEnd = below.find(kSep);
        if (accountEnd == std::string_view::npos) {
            continue;
        }
        const std::string_view account = below.substr(0, accountEnd);
        std::string_view character = below.substr(accountEnd + 1);
        character = character.substr(0, character.find(kSep));
        if (character == "Char0") {
            continue;
        }
        // A prefs.xml lying directly in an account folder has the file as its second component.
        characterFolder = *prefsFolder;
        characterFolder += kSep;
        characterFolder += account;
        characterFolder += kSep;
        characterFolder += character;
        if (!fs.isDirectory(characterFolder)) {
            continue;
        }
        entries.push_back({{}, std::string(character), std::string(account)});
    }
    return entries;
}

void mergeNewChars(std::vector<TCharacter>& characters, std::int32_t& charCount,
                   const std::vector<TCharacter>& scanned) {
    std::int32_t count = std::max(charCount, std::int32_t{0});
    const auto known = static_cast<std::size_t>(std::min<std::int64_t>(count, characters.size()));
    std::unordered_set<std::string> charDirs;
    for (std::size_t i = 0; i < known; ++i) {
        charDirs.insert(characters[i].CharDir);
    }
    for (const TCharacter& entry : scanned) {
        if (!charDirs.insert(entry.CharDir).second) {
            continue;
        }
        ++count;
        characters.resize(static_cast<std::size_t>(count));
        characters.back() = {{}, entry.CharDir, entry.AccountDir};
        charCount = count;
    }
}

}  // namespace lw
