// Makes a synthetic game folder for the benchmarks: accounts holding characters, each with the
// game's many settings files in nested folders, its prefs.xml in a sub-folder and a shop log of
// sale lines, and a manifest of what it made. Same arguments, same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

#include "game_manifest.h"

namespace fs = std::filesystem;
using lw::bench::GameManifest;

namespace {

struct Options {
    fs::path out;
    int accounts = 20;
    int charsPerAccount = 8;
    int foldersPerChar = 24;
    int filesPerFolder = 25;
    std::int64_t logLines = 1'000'000;
    std::uint32_t seed = 1;
};

constexpr std::string_view kUsage =
    "usage: make_game_folder OUT [--accounts N] [--chars N] [--folders N] [--files N]\n"
    "                            [--lines N] [--seed N]\n"
    "Makes OUT/AnarchyOnline/Prefs/<account>/<character>/... and OUT/manifest.txt.\n"
    "--chars is per account, --folders per character, --files per folder, --lines in all.\n";

// Folder names of a character's settings; each starts a chain of nested folders.
constexpr std::string_view kFolderNames[] = {"Chat",   "Containers", "Windows", "Layouts",
                                             "Macros", "Bindings",   "Hotbars", "Panels"};
constexpr int kChainDepth = 3;

// No digits in items or buyers: the price must be the first number of a line.
constexpr std::string_view kItems[] = {
    "Copper Gear",     "Woollen Travel Cloak", "Silver Bracelet",     "First Aid Box",
    "Sturdy Rucksack", "Portable Work Lamp",   "Small Signal Flare",  "Padded Work Boots",
    "Plain Ring",      "Polished Glass Prism", "Spare Machine Parts", "Energy Drink",
    "Red Cable",       "Little Screwdriver",   "Heavy Steel Panel",   "Striped Trousers",
};
constexpr std::string_view kBuyers[] = {"Ahrimen", "Belladonna", "Corvin", "Dagny",
                                        "Eskarn",  "Fyrwen",     "Gorath", "Hilde",
                                        "Ixtlan",  "Jorunn",     "Kethra", "Lomax"};
constexpr int kMaxPrice = 3000;

long long wholeNumber(std::string_view flag, const char* text, long long min, long long max) {
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < min || value > max) {
        throw std::runtime_error(std::string(flag) + " needs a whole number in " +
                                 std::to_string(min) + ".." + std::to_string(max));
    }
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.substr(0, 2) != "--") {
            if (!o.out.empty()) {
                throw std::runtime_error("more than one output folder");
            }
            o.out = arg;
            continue;
        }
        if (i + 1 >= argc) {
            throw std::runtime_error(std::string(arg) + " needs a value");
        }
        const char* value = argv[++i];
        const auto number = [&](long long min, long long max) {
            return wholeNumber(arg, value, min, max);
        };
        if (arg == "--accounts") {
            o.accounts = static_cast<int>(number(1, 1000));
        } else if (arg == "--chars") {
            o.charsPerAccount = static_cast<int>(number(1, 1000));
        } else if (arg == "--folders") {
            o.foldersPerChar = static_cast<int>(number(0, 10000));
        } else if (arg == "--files") {
            o.filesPerFolder = static_cast<int>(number(0, 10000));
        } else if (arg == "--lines") {
            o.logLines = number(0, 100'000'000);
        } else if (arg == "--seed") {
            o.seed =
                static_cast<std::uint32_t>(number(0, std::numeric_limits<std::uint32_t>::max()));
        } else {
            throw std::runtime_error("unknown option " + std::string(arg));
        }
    }
    if (o.out.empty()) {
        throw std::runtime_error("no output folder");
    }
    return o;
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() ||
        std::fclose(f) != 0) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// The settings folders of one character: chains of nested folders, so that the search goes
// several levels deep as it does in the game's tree.
std::string settingsFolder(int index) {
    const int chain = index / kChainDepth;
    const auto names = std::size(kFolderNames);
    std::string path(kFolderNames[static_cast<std::size_t>(chain) % names]);
    if (static_cast<std::size_t>(chain) >= names) {
        path += std::to_string(static_cast<std::size_t>(chain) / names);
    }
    for (int depth = 1; depth <= index % kChainDepth; ++depth) {
        path += "/Sub" + std::to_string(depth);
    }
    return path;
}

// One character's shop log of `lines` sales; adds its credits to `total`.
std::string shopLog(std::int64_t lines, std::mt19937& rng, std::int64_t& total) {
    std::string log;
    log.reserve(static_cast<std::size_t>(lines) * 90);
    for (std::int64_t i = 0; i < lines; ++i) {
        // Modulo keeps the bytes the same with every standard library.
        const int price = static_cast<int>(rng() % kMaxPrice) + 1;
        total += price;
        log += "<div indent=wrapped>Sold ";
        log += kItems[rng() % std::size(kItems)];
        log += " to ";
        log += kBuyers[rng() % std::size(kBuyers)];
        log += " for ";
        log += std::to_string(price);
        const unsigned minute = rng() % (24 * 60);
        char time[8];
        std::snprintf(time, sizeof time, "%02u:%02u", minute / 60, minute % 60);
        log += " credits at ";
        log += time;
        log += ".</div>\r\n";
    }
    return log;
}

GameManifest make(const Options& o) {
    const fs::path game = fs::absolute(o.out / "AnarchyOnline");
    if (fs::exists(game)) {
        // Only a folder that this program made is replaced.
        if (!fs::exists(lw::bench::manifestPath(o.out))) {
            throw std::runtime_error(game.string() + " exists and is not ours; not touching it");
        }
        fs::remove(lw::bench::manifestPath(o.out));
        fs::remove_all(game);
    }
    const fs::path prefs = game / "Prefs";
    fs::create_directories(prefs);
    writeFile(game / "Anarchy.exe", {});

    GameManifest m;
    m.aoDir = (game / "").string();
    writeFile(prefs / "Prefs.xml", "<prefs/>\r\n");  // not a character's: the scan skips it
    m.entries = 1;
    std::mt19937 rng(o.seed);
    const std::int64_t characters = std::int64_t{o.accounts} * o.charsPerAccount;
    std::int64_t index = 0;
    for (int a = 0; a < o.accounts; ++a) {
        const fs::path account = prefs / ("Account" + std::to_string(a + 1));
        fs::create_directory(account);
        ++m.entries;
        for (int c = 0; c < o.charsPerAccount; ++c, ++index) {
            const fs::path character =
                account / ("Char" + std::to_string(1'000'000 + 7919 * index));
            fs::create_directories(character / "Prefs");
            writeFile(character / "Prefs" / "Prefs.xml", "<prefs/>\r\n");
            m.entries += 3;
            for (int d = 0; d < o.foldersPerChar; ++d) {
                const fs::path folder = character / settingsFolder(d);
                fs::create_directory(folder);
                ++m.entries;
                for (int f = 0; f < o.filesPerFolder; ++f) {
                    writeFile(folder / ("Cfg" + std::to_string(f + 1) + ".xml"),
                              "<setting value=\"" + std::to_string(f) + "\"/>\r\n");
                    ++m.entries;
                }
            }
            // The lines are spread evenly; the first characters take the remainder.
            const std::int64_t lines =
                o.logLines / characters + (index < o.logLines % characters ? 1 : 0);
            const std::string log = shopLog(lines, rng, m.totalCredits);
            writeFile(character / "Playershoplog.html", log);
            ++m.entries;
            m.logLines += lines;
            m.logBytes += static_cast<std::int64_t>(log.size());
        }
    }
    m.accounts = o.accounts;
    m.characters = characters;
    lw::bench::writeManifest(o.out, m);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const GameManifest m = make(parseOptions(argc, argv));
        std::cout << "game folder " << m.aoDir << ": " << m.accounts << " accounts, "
                  << m.characters << " characters, " << m.entries << " entries below Prefs, "
                  << m.logLines << " log lines, " << m.logBytes << " log bytes, " << m.totalCredits
                  << " credits\n";
        if (m.totalCredits > std::numeric_limits<std::int32_t>::max()) {
            std::cerr << "warning: the total is above 2,147,483,647 credits\n";
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make_game_folder: " << e.what() << '\n' << kUsage;
        return 2;
    }
}
