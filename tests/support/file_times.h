#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>

namespace lw::test {

// Noon of 1 July of a year, in local time.
inline std::time_t localNoon(int year) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = 6;
    t.tm_mday = 1;
    t.tm_hour = 12;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// Sets a file's last-change time; throws std::filesystem::filesystem_error when it cannot.
inline void setLastWriteTime(const std::filesystem::path& path, std::time_t when) {
    std::filesystem::last_write_time(
        path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(when)));
}

}  // namespace lw::test
