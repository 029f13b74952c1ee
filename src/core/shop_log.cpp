#include "core/shop_log.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/find_files.h"
#include "core/roster.h"

namespace lw {

bool shopLogExists(const FileSystem& fs, std::string_view path) {
    const auto year = fs.lastWriteYear(path);
    return year && *year >= 1980 && *year <= 2107;
}

std::string nothingSoldLine(std::string_view entryText) {
    return "Der Char " + std::string(entryText) + " hat nichts verkauft";
}

void loadShopLog(const FileSystem& fs, std::string_view path, LogLines& lines) {
    lines.appendFile(fs.readFile(path));
}

LogLines loadShopLogs(const FileSystem& fs, const std::vector<std::string>& paths) {
    // Room for all files at once keeps the lines from moving as they grow. A line of a shop
    // log is far longer than this guess; a file that grows meanwhile or whose size is not known
    // only makes the buffer grow as well.
    constexpr std::uint64_t kShortLine = 48;
    std::uint64_t bytes = paths.size();  // the break between one file's lines and the next's
    for (const std::string& path : paths) {
        bytes += fs.fileSize(path).value_or(0);
    }
    const auto room = static_cast<std::size_t>(
        std::min<std::uint64_t>(bytes, std::numeric_limits<std::size_t>::max()));
    LogLines lines;
    lines.reserve(room, room / kShortLine + paths.size());
    for (const std::string& path : paths) {
        lines.appendFile(fs.readFile(path));
    }
    return lines;
}

LogLines loadAllShopLogs(const FileSystem& fs, std::string_view aoDir) {
    std::vector<std::string> paths;
    FindFiles(shopLogSearchPath(aoDir), paths, fs);
    return loadShopLogs(fs, paths);
}

}  // namespace lw
