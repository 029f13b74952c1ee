#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"

namespace lw {

// Appends to `Found` the full path of every file named like the last component of `Path` in
// the folder part of `Path` (up to its last separator or colon) and in all folders below it:
// a folder's own matches first, in listing order, then each sub-folder depth first. Hidden and
// read-only files are found, system files and folders are not; hidden and system folders and
// folders whose name begins with "." are not searched. Each path is the folder part as the
// caller wrote it followed by the names as listed on disk. A folder that is missing or cannot
// be listed adds nothing; a folder reached again through a link while it is being searched is
// not searched again; deep trees do not use up the stack. `Found` is neither cleared nor sorted.
void FindFiles(std::string_view Path, std::vector<std::string>& Found,
               const FileSystem& fs = platformFileSystem());

}  // namespace lw
