#include "game_manifest.h"

#include <charconv>
#include <fstream>
#include <map>
#include <stdexcept>

namespace lw::bench {

namespace {

struct CountKey {
    const char* key;
    std::int64_t GameManifest::*field;
};

constexpr CountKey kCounts[] = {
    {"accounts", &GameManifest::accounts},  {"characters", &GameManifest::characters},
    {"entries", &GameManifest::entries},    {"log_lines", &GameManifest::logLines},
    {"log_bytes", &GameManifest::logBytes}, {"total_credits", &GameManifest::totalCredits},
};

}  // namespace

std::filesystem::path manifestPath(const std::filesystem::path& dataFolder) {
    return dataFolder / "manifest.txt";
}

void writeManifest(const std::filesystem::path& dataFolder, const GameManifest& manifest) {
    std::ofstream out(manifestPath(dataFolder), std::ios::binary | std::ios::trunc);
    out << "ao_dir=" << manifest.aoDir << '\n';
    for (const auto& c : kCounts) {
        out << c.key << '=' << manifest.*c.field << '\n';
    }
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + manifestPath(dataFolder).string());
    }
}

GameManifest readManifest(const std::filesystem::path& dataFolder) {
    const auto path = manifestPath(dataFolder);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("no manifest at " + path.string() + " (run the generator)");
    }
    std::map<std::string, std::string, std::less<>> values;
    for (std::string line; std::getline(in, line);) {
        if (const auto eq = line.find('='); eq != std::string::npos) {
            values[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    GameManifest m;
    const auto dir = values.find("ao_dir");
    if (dir == values.end() || dir->second.empty()) {
        throw std::runtime_error(path.string() + ": no ao_dir");
    }
    m.aoDir = dir->second;
    for (const auto& c : kCounts) {
        const auto it = values.find(c.key);
        if (it == values.end()) {
            throw std::runtime_error(path.string() + ": no " + c.key);
        }
        const std::string& text = it->second;
        const char* end = text.data() + text.size();
        const auto [ptr, ec] = std::from_chars(text.data(), end, m.*c.field);
        if (ec != std::errc() || ptr != end || text.empty()) {
            throw std::runtime_error(path.string() + ": bad " + c.key + " '" + text + "'");
        }
    }
    return m;
}

}  // namespace lw::bench
