// Benchmarks of the core over a generated game folder (see make_game_folder): the character
// scan, reading, cleaning and summing every shop log, the whole of what "Alle" asks of the
// core and its parts, and the amount texts. Every operation is first run once and checked against
// the folder's manifest, so a benchmark never times a wrong result; that run also warms the caches.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/amount_text.h"
#include "core/earnings.h"
#include "core/find_files.h"
#include "core/log_lines.h"
#include "core/roster.h"
#include "core/shop_log.h"
#include "game_manifest.h"

namespace {

lw::bench::GameManifest game;

const lw::FileSystem& fileSystem() {
    return lw::platformFileSystem();
}

std::vector<lw::TCharacter> scanCharacters() {
    std::vector<std::string> found;
    lw::FindFiles(lw::prefsSearchPath(game.aoDir), found, fileSystem());
    const auto scanned = lw::getallchars(fileSystem(), game.aoDir, found);
    std::vector<lw::TCharacter> roster;
    std::int32_t count = 0;
    lw::mergeNewChars(roster, count, scanned);
    return roster;
}

const std::vector<std::string>& shopLogPaths() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> found;
        lw::FindFiles(lw::shopLogSearchPath(game.aoDir), found, fileSystem());
        return found;
    }();
    return paths;
}

const std::vector<std::string>& shopLogBytes() {
    static const std::vector<std::string> bytes = [] {
        std::vector<std::string> files;
        for (const auto& path : shopLogPaths()) {
            files.push_back(fileSystem().readFile(path));
        }
        return files;
    }();
    return bytes;
}

const lw::LogLines& allLines() {
    static const lw::LogLines lines = lw::loadAllShopLogs(fileSystem(), game.aoDir);
    return lines;
}

void expect(std::int64_t got, std::int64_t want, const std::string& what) {
    if (got != want) {
        throw std::runtime_error(what + ": " + std::to_string(got) + ", expected " +
                                 std::to_string(want));
    }
}

void checkResults() {
    std::vector<std::string> prefs;
    lw::FindFiles(lw::prefsSearchPath(game.aoDir), prefs, fileSystem());
    // Every character's prefs.xml and the one in the Prefs folder itself.
    expect(static_cast<std::int64_t>(prefs.size()), game.characters + 1, "prefs.xml found");
    expect(static_cast<std::int64_t>(scanCharacters().size()), game.characters, "characters");
    expect(static_cast<std::int64_t>(shopLogPaths().size()), game.characters, "shop logs");
    std::int64_t bytes = 0;
    for (const auto& file : shopLogBytes()) {
        bytes += static_cast<std::int64_t>(file.size());
    }
    expect(bytes, game.logBytes, "log bytes");
    expect(static_cast<std::int64_t>(allLines().size()), game.logLines, "log lines");
    expect(lw::sumCredits(allLines()), game.totalCredits, "credits");
}

void BM_FindFiles(benchmark::State& state) {
    const std::string path = lw::prefsSearchPath(game.aoDir);
    for (auto _ : state) {
        std::vector<std::string> found;
        lw::FindFiles(path, found, fileSystem());
        benchmark::DoNotOptimize(found.data());
    }
    state.SetItemsProcessed(state.iterations() * game.entries);
}
BENCHMARK(BM_FindFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// The core of the window's character scan: search, scan table, merge into an empty roster.
void BM_Getnewchars(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(scanCharacters().data());
    }
    state.SetItemsProcessed(state.iterations() * game.entries);
}
BENCHMARK(BM_Getnewchars)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading, cleaning and summing every shop log, the files being known.
void BM_ReadCleanSum(benchmark::State& state) {
    const auto& paths = shopLogPaths();
    for (auto _ : state) {
        const lw::LogLines lines = lw::loadShopLogs(fileSystem(), paths);
        benchmark::DoNotOptimize(lw::sumCredits(lines));
    }
    state.SetBytesProcessed(state.iterations() * game.logBytes);
}
BENCHMARK(BM_ReadCleanSum)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a click on "Alle" asks of the core: search the whole tree for the logs, read and clean
// them, sum the lines.
void BM_AllLogs(benchmark::State& state) {
    for (auto _ : state) {
        const lw::LogLines lines = lw::loadAllShopLogs(fileSystem(), game.aoDir);
        benchmark::DoNotOptimize(lw::sumCredits(lines));
    }
    state.SetBytesProcessed(state.iterations() * game.logBytes);
}
BENCHMARK(BM_AllLogs)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts of BM_AllLogs, to tell where its time goes.
void BM_FindShopLogs(benchmark::State& state) {
    const std::string path = lw::shopLogSearchPath(game.aoDir);
    for (auto _ : state) {
        std::vector<std::string> found;
        lw::FindFiles(path, found, fileSystem());
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_FindShopLogs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadLogBytes(benchmark::State& state) {
    const auto& paths = shopLogPaths();
    for (auto _ : state) {
        for (const auto& path : paths) {
            benchmark::DoNotOptimize(fileSystem().readFile(path).data());
        }
    }
    state.SetBytesProcessed(state.iterations() * game.logBytes);
}
BENCHMARK(BM_ReadLogBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SplitAndClean(benchmark::State& state) {
    const auto& files = shopLogBytes();
    for (auto _ : state) {
        lw::LogLines lines;
        for (const auto& bytes : files) {
            lines.appendFile(bytes);
        }
        benchmark::DoNotOptimize(lines.joined().data());
    }
    state.SetBytesProcessed(state.iterations() * game.logBytes);
}
BENCHMARK(BM_SplitAndClean)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SumCredits(benchmark::State& state) {
    const lw::LogLines& lines = allLines();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lw::sumCredits(lines));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_SumCredits)->Unit(benchmark::kMillisecond)->UseRealTime();

// A floor set by the machine: fresh memory as large as the cleaned lines and their ends,
// written once, as every load of all the logs must do.
void BM_FreshMemory(benchmark::State& state) {
    const std::size_t bytes = allLines().joined().size();
    const std::size_t lines = allLines().size();
    for (auto _ : state) {
        std::string text(bytes, 'x');
        std::vector<std::size_t> ends(lines, 1);
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(ends.data());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(bytes + lines * sizeof(std::size_t)));
}
BENCHMARK(BM_FreshMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three captions of one tax-rate change; argument: the total.
void BM_AmountCaptions(benchmark::State& state) {
    const std::int64_t total = state.range(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lw::amountCaptions(total, 17, ".").data());
    }
}
BENCHMARK(BM_AmountCaptions)->Arg(0)->Arg(1'234'567)->Arg(2'147'483'647);

void BM_AmountText(benchmark::State& state) {
    const lw::Extended value = lw::Extended(state.range(0)) * 97 / 100;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lw::amountText(value, ".").data());
    }
}
BENCHMARK(BM_AmountText)->Arg(250)->Arg(2'147'483'647);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::cerr << "usage: core_bench DATA_FOLDER [benchmark options]\n"
                     "DATA_FOLDER is the output folder of make_game_folder.\n";
        return 2;
    }
    try {
        game = lw::bench::readManifest(argv[1]);
        checkResults();
    } catch (const std::exception& e) {
        std::cerr << "core_bench: " << e.what() << '\n';
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
