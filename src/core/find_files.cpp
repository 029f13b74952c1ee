#include "core/find_files.h"

#include <optional>
#include <unordered_set>

#include "core/path.h"

namespace lw {
namespace {

// The folder part of a search path ends at its last separator or drive colon.
constexpr char kFolderEnds[] = {kSep, ':', '\0'};

// The file pass asks for read-only, hidden and archive entries, so it skips directories and
// system files; the folder pass asks for directories, so it skips hidden and system entries.
constexpr std::uint32_t kFilePassSkips = kDirectory | kSystem;
constexpr std::uint32_t kFolderPassSkips = kHidden | kSystem;

bool isSearchedFolder(const DirEntry& entry) noexcept {
    return (entry.attributes & kDirectory) != 0 && (entry.attributes & kFolderPassSkips) == 0 &&
           !entry.name.starts_with('.');
}

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const noexcept {
        return std::hash<std::uint64_t>{}(id.node ^ (id.device * 0x9E3779B97F4A7C15ULL));
    }
};

// A folder on the path from the start folder to the one being searched: its sub-folders in
// listing order, the next one to search, and the length of its own path in both spellings.
struct Frame {
    std::vector<DirEntry> subfolders;
    std::size_t next = 0;
    std::size_t shownLength = 0;
    std::size_t diskLength = 0;
    std::optional<FolderId> id;
};

// Depth-first search on an explicit stack, so that the order is that of the plain recursion
// (each folder's own files, then each sub-folder in turn) while the tree's depth costs heap,
// not stack.
class Search {
  public:
    Search(const FileSystem& fs, std::string_view pattern, std::vector<std::string>& found)
        : fs_(fs), pattern_(pattern), found_(found) {}

    void run(std::string shownFolder, std::string diskFolder) {
        shown_ = std::move(shownFolder);
        disk_ = std::move(diskFolder);
        enter(fs_.folderId(disk_));
        while (!stack_.empty()) {
            Frame& top = stack_.back();
            if (top.next == top.subfolders.size()) {
                if (top.id) {
                    onPath_.erase(*top.id);
                }
                stack_.pop_back();
                continue;
            }
            const std::string& name = top.subfolders[top.next++].name;
            shown_.resize(top.shownLength);
            shown_ += name;
            shown_ += kSep;
            disk_.resize(top.diskLength);
            disk_ += name;
            disk_ += kSep;
            const auto id = fs_.folderId(disk_);
            // A link back to a folder being searched would repeat that folder without end.
            if (id && onPath_.contains(*id)) {
                continue;
            }
            enter(id);
        }
    }

  private:
    // Lists the folder at shown_/disk_ once for both passes: appends its matches, then keeps
    // its sub-folders on the stack for the folder pass.
    void enter(const std::optional<FolderId>& id) {
        std::vector<DirEntry> entries = fs_.list(disk_);
        for (const DirEntry& entry : entries) {
            if ((entry.attributes & kFilePassSkips) == 0 && matchesPattern(entry.name, pattern_)) {
                found_.push_back(shown_ + entry.name);
            }
        }
        std::erase_if(entries, [](const DirEntry& entry) { return !isSearchedFolder(entry); });
        if (id) {
            onPath_.insert(*id);
        }
        stack_.push_back({std::move(entries), 0, shown_.size(), disk_.size(), id});
    }

    const FileSystem& fs_;
    std::string_view pattern_;
    std::vector<std::string>& found_;
    std::string shown_;
    std::string disk_;
    std::vector<Frame> stack_;
    std::unordered_set<FolderId, FolderIdHash> onPath_;
};

}  // namespace

void FindFiles(std::string_view Path, std::vector<std::string>& Found, const FileSystem& fs) {
    const auto cut = Path.find_last_of(kFolderEnds);
    const std::size_t folderLength = cut == std::string_view::npos ? 0 : cut + 1;
    const std::string_view folder = Path.substr(0, folderLength);
    auto diskFolder = fs.resolve(folder);
    if (!diskFolder) {
        return;
    }
    Search(fs, Path.substr(folderLength), Found).run(std::string(folder), std::move(*diskFolder));
}

}  // namespace lw
