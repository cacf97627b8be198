// The file operations the program needs. Paths are UTF-8 texts with "\"
// separators; the Windows implementation converts them at the boundary.
#pragma once

#include <string>

namespace reelwright {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True only for an existing regular file; a folder of that name gives false.
    virtual bool FileExists(const std::string& path) = 0;

    // Sets the file's attributes to read-only alone (every other bit cleared).
    virtual bool SetReadOnly(const std::string& path) = 0;

    // Copies `from` over `to`, replacing an existing file.
    virtual bool CopyFileOver(const std::string& from, const std::string& to) = 0;

    // Creates or truncates the file and writes the text in one write, converted
    // to the system's ANSI code page (the game reads its scripts so).
    virtual bool WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) = 0;
};

}  // namespace reelwright
