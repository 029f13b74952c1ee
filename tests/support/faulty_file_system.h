#pragma once

#include <string>
#include <string_view>

#include "core/error.h"
#include "core/file_system.h"

namespace lw::test {

// The machine's file system with injected faults: file replacements start failing after a set
// number of them succeeded, and files whose path contains a given text cannot be read. Tests
// run as root, where file permissions stop nothing, so a failing disk is injected here.
class FaultyFileSystem : public FileSystem {
  public:
    // The number of replacements that still succeed; negative for no limit.
    mutable int writesLeft = -1;
    mutable int writesTried = 0;
    // Reading a file whose path contains this text fails (empty: none).
    std::string unreadable;
    mutable int reads = 0;

    std::optional<std::string> resolve(std::string_view path) const override {
        return base().resolve(path);
    }
    std::vector<DirEntry> list(const std::string& folder) const override {
        return base().list(folder);
    }
    std::optional<FolderId> folderId(const std::string& folder) const override {
        return base().folderId(folder);
    }
    bool isDirectory(std::string_view path) const override { return base().isDirectory(path); }
    std::optional<int> lastWriteYear(std::string_view path) const override {
        return base().lastWriteYear(path);
    }
    std::string readFile(std::string_view path) const override {
        ++reads;
        if (!unreadable.empty() && path.find(unreadable) != std::string_view::npos) {
            throw Error("Cannot open file \"" + std::string(path) + "\". Permission denied");
        }
        return base().readFile(path);
    }
    std::optional<std::string> readFileIfExists(const std::string& path) const override {
        return base().readFileIfExists(path);
    }
    bool replaceFile(const std::string& path, std::string_view bytes) const override {
        ++writesTried;
        if (writesLeft == 0) {
            return false;
        }
        if (writesLeft > 0) {
            --writesLeft;
        }
        return base().replaceFile(path, bytes);
    }

  private:
    static const FileSystem& base() { return platformFileSystem(); }
};

}  // namespace lw::test
