#include "core/ini_file.h"

#include <optional>
#include <utility>

#include "core/error.h"
#include "core/ini_document.h"
#include "core/int_conversion.h"

namespace lw {
namespace {

#ifdef _WIN32
constexpr std::string_view kNewFileLineEnd = "\r\n";
#else
constexpr std::string_view kNewFileLineEnd = "\n";
#endif

}  // namespace

TIniFile::TIniFile(std::string fileName, const FileSystem& fs)
    : fileName_(std::move(fileName)), fs_(&fs) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    if (const auto bytes = fs_->readFileIfExists(fileName_)) {
        if (auto value = iniRead(*bytes, section, key)) {
            return std::move(*value);
        }
    }
    // npos + 1 is 0, so an all-blank default reads as the empty text.
    return std::string(defaultValue.substr(0, defaultValue.find_last_not_of(kIniBlanks) + 1));
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::optional<std::string> current = fs_->readFileIfExists(fileName_);
    // A file that is there but cannot be read must not be replaced by one holding only this key.
    if (!current && fs_->resolve(fileName_)) {
        throw Error("Unable to write to " + fileName_);
    }
    const std::string updated =
        iniWrite(current.value_or(""), section, key, value, kNewFileLineEnd);
    if (updated == current) {
        return;
    }
    if (!fs_->replaceFile(fileName_, updated)) {
        throw Error("Unable to write to " + fileName_);
    }
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    // A missing key reads as the empty text, which like any non-integer gives the default.
    try {
        return strToInt(ReadString(section, key, "")) != 0;
    } catch (const Error&) {
        return defaultValue;
    }
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace lw
