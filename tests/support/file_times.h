#pragma once

#include <sys/time.h>

#include <ctime>
#include <filesystem>

#include <gtest/gtest.h>

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

// Sets a file's last-change (and last-access) time.
inline void setLastWriteTime(const std::filesystem::path& path, std::time_t when) {
    const timeval times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(::utimes(path.c_str(), times), 0);
}

}  // namespace lw::test
