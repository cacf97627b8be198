// The file operations the program needs. Paths are UTF-8 texts with "\"
// separators; the Windows implementation converts them at the boundary.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace reelwright {

// What one folder holds directly: the names (without the folder) of its files
// and of its sub-folders, in no particular order.
struct FolderContents {
    std::vector<std::string> files;
    std::vector<std::string> folders;
};

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

    // The files and sub-folders directly inside `folder`; nothing when it is
    // not a folder. A folder whose contents cannot be read lists nothing.
    // Links to other folders (junctions, symbolic links) are left out, so
    // that walking down a tree always ends.
    virtual std::optional<FolderContents> ListFolder(const std::string& folder) = 0;
};

}  // namespace reelwright
