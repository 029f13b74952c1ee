#ifndef _WIN32

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <random>
#include <system_error>

#include "core/ascii_case.h"
#include "core/error.h"
#include "core/file_system.h"
#include "core/path.h"

namespace lw {
namespace {

std::string reasonText(int err) {
    return std::generic_category().message(err);
}

// NTFS order: names compared after ASCII upper-casing, byte by byte; names that differ only in
// case are ordered by their raw bytes, so a listing is the same on every run.
bool listsBefore(std::string_view a, std::string_view b) noexcept {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ua = static_cast<unsigned char>(asciiUpper(a[i]));
        const auto ub = static_cast<unsigned char>(asciiUpper(b[i]));
        if (ua != ub) {
            return ua < ub;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

// An empty folder is the current one, as for a search path that names no folder.
const char* folderArg(const std::string& folder) noexcept {
    return folder.empty() ? "." : folder.c_str();
}

bool isDotOrDotDot(const char* name) noexcept {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class OpenDir {
  public:
    explicit OpenDir(const std::string& folder) : dir_(::opendir(folderArg(folder))) {}
    ~OpenDir() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    OpenDir(const OpenDir&) = delete;
    OpenDir& operator=(const OpenDir&) = delete;

    explicit operator bool() const noexcept { return dir_ != nullptr; }
    const dirent* next() noexcept { return ::readdir(dir_); }
    int fd() const noexcept { return ::dirfd(dir_); }

  private:
    DIR* dir_;
};

class OpenFd {
  public:
    explicit OpenFd(int fd) noexcept : fd_(fd) {}
    ~OpenFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    OpenFd(const OpenFd&) = delete;
    OpenFd& operator=(const OpenFd&) = delete;

    int get() const noexcept { return fd_; }

  private:
    int fd_;
};

// Whether a listed entry is a folder. d_type answers without a stat; a link is a folder when
// it leads to one, as a junction is on Windows.
bool isFolderEntry(int dirFd, const dirent& entry) noexcept {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat st {};
    return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `folder` that equals `name` without regard to case and comes first in listing
// order, found in one pass without building the listing.
std::optional<std::string> firstCaseVariant(const std::string& folder, std::string_view name) {
    OpenDir dir(folder);
    if (!dir) {
        return std::nullopt;
    }
    std::optional<std::string> best;
    while (const dirent* entry = dir.next()) {
        const std::string_view candidate = entry->d_name;
        if (equalsIgnoreAsciiCase(candidate, name) && (!best || listsBefore(candidate, *best))) {
            best = std::string(candidate);
        }
    }
    return best;
}

bool writeAll(int fd, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a new, empty file beside `target` under a name no other file has; -1 on failure.
// The mode lets the umask decide, as for any file the program creates.
int createTempBeside(const std::string& target, std::string& tempPath) {
    static constexpr std::string_view kChars =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kChars.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target;
        tempPath += '.';
        for (int i = 0; i < 6; ++i) {
            tempPath += kChars[pick(random)];
        }
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

std::string folderOf(const std::string& path) {
    const auto cut = path.rfind(kSep);
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

class PosixFileSystem final : public FileSystem {
  public:
    std::optional<std::string> resolve(std::string_view path) const override {
        std::string out(path);
        struct stat st {};
        if (::lstat(out.c_str(), &st) == 0) {
            return out;
        }
        out.clear();
        std::size_t i = 0;
        while (i < path.size()) {
            if (path[i] == kSep) {
                out += kSep;
                ++i;
                continue;
            }
            const std::size_t end = std::min(path.find(kSep, i), path.size());
            const std::string_view component = path.substr(i, end - i);
            const std::size_t folderLength = out.size();
            out += component;
            if (::lstat(out.c_str(), &st) != 0) {
                out.resize(folderLength);
                const auto variant = firstCaseVariant(out, component);
                if (!variant) {
                    return std::nullopt;
                }
                out += *variant;
            }
            i = end;
        }
        return out;
    }

    std::vector<DirEntry> list(const std::string& diskFolder) const override {
        std::vector<DirEntry> entries;
        OpenDir dir(diskFolder);
        if (!dir) {
            return entries;
        }
        while (const dirent* entry = dir.next()) {
            if (isDotOrDotDot(entry->d_name)) {
                continue;
            }
            std::uint32_t attributes = isFolderEntry(dir.fd(), *entry) ? kDirectory : kArchive;
            if (entry->d_name[0] == '.') {
                attributes |= kHidden;
            }
            entries.push_back({entry->d_name, attributes});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const DirEntry& a, const DirEntry& b) { return listsBefore(a.name, b.name); });
        return entries;
    }

    std::optional<FolderId> folderId(const std::string& diskFolder) const override {
        struct stat st {};
        if (::stat(folderArg(diskFolder), &st) != 0 || !S_ISDIR(st.st_mode)) {
            return std::nullopt;
        }
        return FolderId{static_cast<std::uint64_t>(st.st_dev),
                        static_cast<std::uint64_t>(st.st_ino)};
    }

    bool isDirectory(std::string_view path) const override {
        struct stat st {};
        return statAnyCase(path, st) && S_ISDIR(st.st_mode);
    }

    std::optional<int> lastWriteYear(std::string_view path) const override {
        struct stat st {};
        if (!statAnyCase(path, st) || !S_ISREG(st.st_mode)) {
            return std::nullopt;
        }
        std::tm local{};
        if (::localtime_r(&st.st_mtime, &local) == nullptr) {
            return std::nullopt;
        }
        return local.tm_year + 1900;
    }

    std::optional<std::uint64_t> fileSize(std::string_view path) const override {
        struct stat st {};
        if (!statAnyCase(path, st) || !S_ISREG(st.st_mode) || st.st_size < 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(st.st_size);
    }

    std::string readFile(std::string_view path) const override {
        std::string bytes;
        if (const int err = readWhole(path, bytes); err != 0) {
            throw Error("Cannot open file \"" + std::string(path) + "\". " + reasonText(err));
        }
        return bytes;
    }

    std::optional<std::string> readFileIfExists(const std::string& path) const override {
        std::string bytes;
        if (readWhole(path, bytes) != 0) {
            return std::nullopt;
        }
        return bytes;
    }

    bool replaceFile(const std::string& path, std::string_view bytes) const override {
        const auto target = replaceTarget(path);
        if (!target) {
            return false;
        }
        struct stat old {};
        const bool exists = ::stat(target->c_str(), &old) == 0;
        // A rename would replace a file nobody may write, and root could write it anyway; the
        // user made it read-only to keep it, as the read-only attribute does on Windows.
        if (exists && S_ISREG(old.st_mode) && (old.st_mode & 0222) == 0) {
            return false;
        }
        std::string tempPath;
        const int fd = createTempBeside(*target, tempPath);
        if (fd < 0) {
            return false;
        }
        if (exists) {
            // Best effort: a file system without modes refuses, and the content matters more.
            (void)::fchmod(fd, old.st_mode & 07777);
        }
        bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
        // close can report a failed write-back (network file systems), so it counts as well.
        written = ::close(fd) == 0 && written;
        if (!written || ::rename(tempPath.c_str(), target->c_str()) != 0) {
            ::unlink(tempPath.c_str());
            return false;
        }
        // The new content is in place now, so a folder that cannot be synced is no failure:
        // false would claim the old content is still there.
        syncFolder(folderOf(*target));
        return true;
    }

  private:
    // stat of the path in any letter case; the spelling as written is tried first, as it is
    // what a caller passes nearly always.
    bool statAnyCase(std::string_view path, struct stat& st) const {
        const std::string written(path);
        if (::stat(written.c_str(), &st) == 0) {
            return true;
        }
        if (errno != ENOENT && errno != ENOTDIR) {
            return false;
        }
        const auto disk = resolve(written);
        return disk && *disk != written && ::stat(disk->c_str(), &st) == 0;
    }

    // Opens the file at the path in any letter case for reading; the fd, or -errno.
    int openAnyCase(std::string_view path) const {
        // O_NONBLOCK keeps a FIFO of the searched name from blocking the open; it does nothing
        // for regular files.
        constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
        const std::string written(path);
        int fd = ::open(written.c_str(), kFlags);
        if (fd >= 0 || (errno != ENOENT && errno != ENOTDIR)) {
            return fd >= 0 ? fd : -errno;
        }
        const int notFound = errno;
        const auto disk = resolve(written);
        if (!disk || *disk == written) {
            return -notFound;
        }
        fd = ::open(disk->c_str(), kFlags);
        return fd >= 0 ? fd : -errno;
    }

    // Reads the whole file into `bytes`; 0, or the errno that explains the failure.
    int readWhole(std::string_view path, std::string& bytes) const {
        const int fd = openAnyCase(path);
        if (fd < 0) {
            return -fd;
        }
        const OpenFd file(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            return errno;
        }
        if (S_ISDIR(st.st_mode)) {
            return EISDIR;
        }
        // Devices, FIFOs and sockets could block or never end.
        if (!S_ISREG(st.st_mode)) {
            return EINVAL;
        }
        // The size is only a first guess: the game may be appending while we read, so the
        // read goes on until end of file. One spare byte lets an unchanged file end without
        // growing the buffer.
        bytes.resize(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1);
        std::size_t filled = 0;
        for (;;) {
            if (filled == bytes.size()) {
                bytes.resize(bytes.size() * 2);
            }
            const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                return errno;
            }
            if (n == 0) {
                break;
            }
            filled += static_cast<std::size_t>(n);
        }
        bytes.resize(filled);
        return 0;
    }

    // The file a replace writes: the existing file of that name in any letter case, else a
    // new one of the given name in the folder as it is spelled on disk.
    std::optional<std::string> replaceTarget(const std::string& path) const {
        if (auto existing = resolve(path)) {
            return existing;
        }
        const std::string folder = folderOf(path);
        auto diskFolder = resolve(folder);
        if (!diskFolder) {
            return std::nullopt;
        }
        *diskFolder += std::string_view(path).substr(folder.size());
        return diskFolder;
    }

    static void syncFolder(const std::string& folder) {
        const OpenFd dir(::open(folderArg(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() >= 0) {
            (void)::fsync(dir.get());
        }
    }
};

}  // namespace

const FileSystem& platformFileSystem() {
    static const PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace lw

#endif  // _WIN32
