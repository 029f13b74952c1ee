#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace lw::bench {

// What the generator made in a data folder, so that every benchmark can check that it worked
// on all of it: the game directory and the counts and sums the program must find there.
struct GameManifest {
    std::string aoDir;  // the game directory, ending in the platform's separator
    std::int64_t accounts = 0;
    std::int64_t characters = 0;
    std::int64_t entries = 0;  // files and folders below the Prefs folder
    std::int64_t logLines = 0;
    std::int64_t logBytes = 0;
    std::int64_t totalCredits = 0;
};

// The manifest's file in a data folder.
std::filesystem::path manifestPath(const std::filesystem::path& dataFolder);

// Writes the manifest as "key=value" lines. Throws std::runtime_error when it cannot.
void writeManifest(const std::filesystem::path& dataFolder, const GameManifest& manifest);

// Reads the manifest that the generator wrote. Throws std::runtime_error when it is missing
// or a key is missing or malformed.
GameManifest readManifest(const std::filesystem::path& dataFolder);

}  // namespace lw::bench
