// The file operations the program needs. Paths are UTF-8 texts with "\"
// separators; the Windows implementation converts them at the boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace reelwright {

// The system's error codes that the program tells apart.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;

// The outcome of a file operation: the system's error code, 0 on success.
// Tests as true on success, so `if (files.CopyFileOver(...))` reads as before.
struct FileResult {
    std::uint32_t error = 0;

    constexpr explicit operator bool() const { return error == 0; }
    friend constexpr bool operator==(FileResult, FileResult) = default;
};

// What one folder holds directly: the names (without the folder) of its files
// and of its sub-folders, in no particular order.
struct FolderContents {
    std::vector<std::string> files;
    std::vector<std::string> folders;
    // The folder is itself a link to another place (a junction, a symbolic
    // link, a mount point): nothing is listed.
    bool isLink = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True only for an existing regular file; a folder of that name gives false.
    virtual bool FileExists(const std::string& path) = 0;

    // Sets the file's attributes to read-only alone (every other bit cleared).
    virtual FileResult SetReadOnly(const std::string& path) = 0;

    // Copies `from` over `to`, replacing an existing file.
    virtual FileResult CopyFileOver(const std::string& from, const std::string& to) = 0;

    // Creates or truncates the file and writes the text in one write, converted
    // to the system's ANSI code page (the game reads its scripts so).
    virtual FileResult WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) = 0;

    // Reads at most `count` bytes from the start of the file, as they are.
    virtual FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) = 0;

    // Deletes the file.
    virtual FileResult RemoveFile(const std::string& path) = 0;

    // Creates a new empty file with a unique name in the user's temporary
    // folder; its path, or the empty text when none could be made.
    virtual std::string MakeTemporaryFile() = 0;

    // The system's own text for an error code, one line without a final stop
    // ("Access is denied"), or "error <code>" when the system has none.
    virtual std::string ErrorText(std::uint32_t error) = 0;

    // The files and sub-folders directly inside `folder`; nothing when it is
    // not a folder. A folder whose contents cannot be read lists nothing, and
    // so does a folder that is itself a link (isLink). Sub-folders that are
    // links to other folders (junctions, symbolic links) are left out, so
    // that walking down a tree always ends.
    virtual std::optional<FolderContents> ListFolder(const std::string& folder) = 0;
};

}  // namespace reelwright
