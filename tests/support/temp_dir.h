#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace lw::test {

// A fresh folder below the system's temp folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("lw-test-" + std::to_string(rd()) + std::to_string(rd()));
        } while (std::filesystem::exists(path_));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // The folder's path as text, ending in the platform's separator.
    std::string str() const { return (path_ / "").string(); }

    // Creates the file `rel` (folders made as needed) holding `bytes`; returns its full path.
    std::filesystem::path write(std::string_view rel, std::string_view bytes = {}) const {
        const auto p = path_ / std::filesystem::path(std::string(rel));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

    // Creates the folder `rel` and its parents; returns its full path.
    std::filesystem::path mkdir(std::string_view rel) const {
        const auto p = path_ / std::filesystem::path(std::string(rel));
        std::filesystem::create_directories(p);
        return p;
    }

    // The whole content of the file `rel`, or "<missing>" when there is none.
    std::string read(std::string_view rel) const {
        std::ifstream in(path_ / std::filesystem::path(std::string(rel)), std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    std::filesystem::path path_;
};

}  // namespace lw::test
