#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "core/file_system.h"

namespace lw::test {

// A file system whose files live in a map, for tests of code that reads and replaces whole
// files. Writes can be made to fail from a given one on, and files can be made unreadable.
// Folders, listings and letter-case matching are not modelled.
class MemoryFileSystem : public FileSystem {
  public:
    mutable std::map<std::string, std::string, std::less<>> files;
    std::set<std::string, std::less<>> unreadable;  // there, but reading them fails
    int failFromWrite = 0;                          // 1-based; 0: every write succeeds
    mutable int writes = 0;                         // replaceFile calls so far

    std::optional<std::string> resolve(std::string_view path) const override {
        if (files.contains(path)) {
            return std::string(path);
        }
        return std::nullopt;
    }
    std::vector<DirEntry> list(const std::string&) const override { return {}; }
    std::optional<FolderId> folderId(const std::string&) const override { return std::nullopt; }
    bool isDirectory(std::string_view) const override { return false; }
    std::optional<int> lastWriteYear(std::string_view path) const override {
        return files.contains(path) ? std::optional<int>(2024) : std::nullopt;
    }
    std::string readFile(std::string_view path) const override {
        if (auto bytes = readable(path)) {
            return *bytes;
        }
        throw Error("Cannot open file \"" + std::string(path) + "\". No such file");
    }
    std::optional<std::string> readFileIfExists(const std::string& path) const override {
        return readable(path);
    }
    bool replaceFile(const std::string& path, std::string_view bytes) const override {
        ++writes;
        if (failFromWrite > 0 && writes >= failFromWrite) {
            return false;
        }
        files[path] = std::string(bytes);
        return true;
    }

  private:
    std::optional<std::string> readable(std::string_view path) const {
        const auto it = files.find(path);
        if (it == files.end() || unreadable.contains(path)) {
            return std::nullopt;
        }
        return it->second;
    }
};

}  // namespace lw::test
