#pragma once

#include <string>
#include <string_view>

#include "core/file_system.h"

namespace lw {

// A settings file in profile (INI) format, opened afresh for each read and each write and never
// held open between them. Creating the object reads nothing and needs no file.
class TIniFile {
  public:
    explicit TIniFile(std::string fileName, const FileSystem& fs = platformFileSystem());

    const std::string& FileName() const { return fileName_; }

    // The key's value (see iniRead), or `defaultValue` with blanks at its end dropped when the
    // key or the file is missing. An empty value reads as the empty text.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Sets the key (see iniWrite) and puts the file on disk at once, through a temporary file
    // that replaces it, so the file is never left half written. The first write creates it; a
    // write that leaves the bytes as they are does not touch the file. Throws Error "Unable to
    // write to <FileName>" when the file cannot be written, or is there but cannot be read; the
    // file then stays as it was.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The key's value taken as an integer: not 0 is true, 0 is false; a missing, empty or
    // non-integer value gives `defaultValue`.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Writes "1" for true and "0" for false, as WriteString does.
    void WriteBool(std::string_view section, std::string_view key, bool value);

  private:
    std::string fileName_;
    const FileSystem* fs_;
};

}  // namespace lw
