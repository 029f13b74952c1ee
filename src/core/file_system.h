#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// File attributes as the Windows directory search reports them.
enum Attribute : std::uint32_t {
    kReadOnly = 0x01,
    kHidden = 0x02,
    kSystem = 0x04,
    kDirectory = 0x10,
    kArchive = 0x20,
};

// One entry of a folder listing: its name as written on disk and its attributes.
struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// Identity of a folder on disk, so that a search can tell when a link leads back to a folder
// that it is already inside.
struct FolderId {
    std::uint64_t device = 0;
    std::uint64_t node = 0;
    friend bool operator==(const FolderId&, const FolderId&) = default;
};

// Everything the program asks of the file system. Paths are in the platform's form (see
// path.h). On Windows the system does what the game's file system does; on other systems the
// implementation gives the same behaviour: names match without regard to ASCII letter case, a
// folder lists in NTFS order (by name compared after upper-casing), a name that begins with "."
// is hidden, and nothing has the system attribute. Virtual so that tests can inject failures.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The path as it is spelled on disk: each component that exists in exactly the given
    // spelling is kept, otherwise the first entry in listing order that equals it without
    // regard to case is taken. nullopt when some component cannot be found. On Windows, which
    // matches names itself, an existing path comes back as given.
    virtual std::optional<std::string> resolve(std::string_view path) const = 0;

    // The entries of a folder given in its on-disk spelling (as resolve gives it), in listing
    // order, without "." and "..". Empty when the folder is missing or cannot be listed.
    virtual std::vector<DirEntry> list(const std::string& diskFolder) const = 0;

    // The identity of a folder given in its on-disk spelling; nullopt when it cannot be read.
    virtual std::optional<FolderId> folderId(const std::string& diskFolder) const = 0;

    // Whether a directory exists at the path (any letter case); a file there does not count.
    virtual bool isDirectory(std::string_view path) const = 0;

    // The year, in local time, of the last change of the file at the path (any letter case);
    // nullopt when there is no file there (nothing, or a folder) or its time cannot be read.
    virtual std::optional<int> lastWriteYear(std::string_view path) const = 0;

    // The whole content of the file at the path (any letter case), opened for reading only,
    // with other readers allowed and writers refused where the system can say so.
    // Throws Error "Cannot open file \"<path>\". <reason>" when it cannot be opened or read.
    virtual std::string readFile(std::string_view path) const = 0;

    // The size in bytes of the file at the path (any letter case) as it stands now; nullopt
    // when there is no file there (nothing, or a folder) or its size cannot be read. A file
    // that is being written may have grown by the time it is read. Not every file system can
    // tell, so this one says nothing unless overridden.
    virtual std::optional<std::uint64_t> fileSize(std::string_view /*path*/) const {
        return std::nullopt;
    }

    // The content of the file at the path, or nullopt when it does not exist or cannot be read.
    virtual std::optional<std::string> readFileIfExists(const std::string& path) const = 0;

    // Replaces the file at the path with `bytes`: they are written to a temporary file in the
    // same folder, flushed to disk, and that file then takes the old one's place in one step,
    // so the path always holds either the old or the new content, whole. Returns false, with
    // the path left as it was and no temporary file left behind, when any step fails or the
    // file there is read-only (on POSIX: no write permission for anyone).
    virtual bool replaceFile(const std::string& path, std::string_view bytes) const = 0;
};

// The file system of the machine the program runs on.
const FileSystem& platformFileSystem();

// Whether `name` matches a directory-search pattern: "*" stands for any run of characters, "?"
// for one, "*.*" for every name (also one without a dot), and letters match without regard to
// ASCII case.
bool matchesPattern(std::string_view name, std::string_view pattern);

}  // namespace lw
