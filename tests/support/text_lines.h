#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lw::test {

// The line end the settings file gets when it is created on this platform.
#ifdef _WIN32
inline constexpr std::string_view kNewFileLineEnd = "\r\n";
#else
inline constexpr std::string_view kNewFileLineEnd = "\n";
#endif

// The lines, each followed by that line end: the bytes of a settings file made here.
inline std::string newFileLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text.append(line).append(kNewFileLineEnd);
    }
    return text;
}

}  // namespace lw::test
