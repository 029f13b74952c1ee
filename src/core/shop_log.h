#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/log_lines.h"

namespace lw {

// Whether a shop log exists at the path: a file (not a folder) whose last-change year in local
// time lies in 1980..2107.
bool shopLogExists(const FileSystem& fs, std::string_view path);

// The line the view shows for a character without a shop log.
std::string nothingSoldLine(std::string_view entryText);

// Reads the shop log at the path and appends its cleaned lines to `lines`.
// Throws Error "Cannot open file ..." when it cannot be read.
void loadShopLog(const FileSystem& fs, std::string_view path, LogLines& lines);

// Reads the shop logs at the paths, in that order, and returns their cleaned lines, one file
// after the other. Throws Error "Cannot open file ..." at the first file that cannot be read;
// nothing is returned then.
LogLines loadShopLogs(const FileSystem& fs, const std::vector<std::string>& paths);

// Reads every shop log below aoDir + "Prefs\" in search order and returns their cleaned lines,
// one file after the other. Throws Error "Cannot open file ..." at the first file that cannot
// be read; nothing is returned then.
LogLines loadAllShopLogs(const FileSystem& fs, std::string_view aoDir);

}  // namespace lw
