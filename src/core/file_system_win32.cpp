#ifdef _WIN32

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "core/error.h"
#include "core/file_system.h"

namespace lw {
namespace {

constexpr std::uint32_t kKnownAttributes = kReadOnly | kHidden | kSystem | kDirectory | kArchive;
// The most that one ReadFile or WriteFile call moves: their counts are 32 bits.
constexpr std::size_t kChunk = std::size_t{1} << 30;

// The core keeps paths in UTF-8; the system's wide calls take UTF-16.
std::wstring wide(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), static_cast<int>(out.size()));
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf16.size());
    std::string out(
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
    return out;
}

// The system's text for an error code, without the line break and the full stop it ends in:
// the error box adds its own full stop.
std::string systemMessage(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0) {
        return "System error " + std::to_string(code);
    }
    std::wstring text(buffer, length);
    LocalFree(buffer);
    text.erase(text.find_last_not_of(L"\r\n .") + 1);
    return narrow(text);
}

// Owns a handle of the kind that `release` (CloseHandle or FindClose) gives back.
class Handle {
  public:
    using Release = BOOL(WINAPI*)(HANDLE);
    explicit Handle(HANDLE h, Release release = CloseHandle) : h_(h), release_(release) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Closes now, so that the caller learns whether the last writes reached the disk.
    bool close() { return !valid() || release_(std::exchange(h_, INVALID_HANDLE_VALUE)); }

  private:
    HANDLE h_;
    Release release_;
};

// An empty folder is the current one, as for a search path that names no folder.
std::string_view orCurrent(std::string_view folder) {
    return folder.empty() ? "." : folder;
}

// The search pattern for every entry of a folder. A folder that ends in a separator or a drive's
// colon takes the pattern directly ("C:" names the drive's current folder, not its root).
std::wstring allEntriesPattern(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/' &&
        folder.back() != L':') {
        folder += L'\\';
    }
    return folder + L"*.*";
}

// Orders names as NTFS lists them: by the system's upper-case table, code unit by code unit.
bool ntfsLess(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
}

// The whole file, opened for reading with other readers allowed; nullopt with the system's
// error code in `error` when it cannot be opened or read.
std::optional<std::string> readWhole(std::string_view path, DWORD& error) {
    Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        error = GetLastError();
        return std::nullopt;
    }
    // The size is a first guess only: the game may be appending while we read, so reading goes
    // on to the end. One spare byte lets an unchanged file end without growing the buffer.
    LARGE_INTEGER size{};
    std::string content(
        GetFileSizeEx(file.get(), &size) ? static_cast<std::size_t>(size.QuadPart) + 1 : 4096,
        '\0');
    std::size_t filled = 0;
    while (true) {
        if (filled == content.size()) {
            content.resize(content.size() * 2);
        }
        const auto want =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - filled, kChunk));
        DWORD got = 0;
        if (!ReadFile(file.get(), content.data() + filled, want, &got, nullptr)) {
            error = GetLastError();
            return std::nullopt;
        }
        if (got == 0) {
            content.resize(filled);
            return content;
        }
        filled += got;
    }
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), want, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

class Win32FileSystem final : public FileSystem {
  public:
    // The system matches names without regard to case itself, so any spelling that exists
    // serves every other call as well as the one on disk.
    std::optional<std::string> resolve(std::string_view path) const override {
        if (GetFileAttributesW(wide(orCurrent(path)).c_str()) == INVALID_FILE_ATTRIBUTES) {
            return std::nullopt;
        }
        return std::string(path);
    }

    std::vector<DirEntry> list(const std::string& diskFolder) const override {
        WIN32_FIND_DATAW data;
        Handle search(
            FindFirstFileExW(allEntriesPattern(wide(diskFolder)).c_str(), FindExInfoBasic, &data,
                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH),
            FindClose);
        if (!search.valid()) {
            return {};
        }
        std::vector<std::pair<std::wstring, std::uint32_t>> found;
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                found.emplace_back(name, data.dwFileAttributes & kKnownAttributes);
            }
        } while (FindNextFileW(search.get(), &data));

        // The system lists in the order the volume keeps, which only NTFS fixes by name.
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return ntfsLess(a.first, b.first); });
        std::vector<DirEntry> entries;
        entries.reserve(found.size());
        for (const auto& [name, attributes] : found) {
            entries.push_back({narrow(name), attributes});
        }
        return entries;
    }

    std::optional<FolderId> folderId(const std::string& diskFolder) const override {
        // Backup semantics let a folder be opened; links are followed to their target.
        Handle folder(CreateFileW(wide(orCurrent(diskFolder)).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info) ||
            !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }
        return FolderId{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    }

    bool isDirectory(std::string_view path) const override {
        const DWORD attributes = GetFileAttributesW(wide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    std::optional<int> lastWriteYear(std::string_view path) const override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }
        // The local time under the time-zone rules of that date, as on other systems.
        SYSTEMTIME utc;
        SYSTEMTIME local;
        if (!FileTimeToSystemTime(&data.ftLastWriteTime, &utc) ||
            !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
            return std::nullopt;
        }
        return local.wYear;
    }

    std::optional<std::uint64_t> fileSize(std::string_view path) const override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return std::nullopt;
        }
        return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    }

    std::string readFile(std::string_view path) const override {
        DWORD error = 0;
        auto content = readWhole(path, error);
        if (!content) {
            throw Error("Cannot open file \"" + std::string(path) + "\". " + systemMessage(error));
        }
        return std::move(*content);
    }

    std::optional<std::string> readFileIfExists(const std::string& path) const override {
        DWORD error = 0;
        return readWhole(path, error);
    }

    bool replaceFile(const std::string& path, std::string_view bytes) const override {
        const std::wstring target = wide(path);
        // Windows refuses to move a file over a read-only one; Wine does not, so ask first.
        const DWORD existing = GetFileAttributesW(target.c_str());
        if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) {
            return false;
        }
        const std::wstring temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
        Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) {
            return false;
        }
        const bool written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
        if (!file.close() || !written ||
            !MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileW(temp.c_str());
            return false;
        }
        return true;
    }
};

}  // namespace

const FileSystem& platformFileSystem() {
    static const Win32FileSystem fs;
    return fs;
}

}  // namespace lw

#endif  // _WIN32
