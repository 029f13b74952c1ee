#include "core/shop_log.h"

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

LogLines loadAllShopLogs(const FileSystem& fs, std::string_view aoDir) {
    std::vector<std::string> paths;
    FindFiles(shopLogSearchPath(aoDir), paths, fs);
    LogLines lines;
    for (const std::string& path : paths) {
        lines.appendFile(fs.readFile(path));
    }
    return lines;
}

}  // namespace lw
