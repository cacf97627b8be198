// The file operations the program needs. Paths are UTF-8 texts with "\"
// separators; the Windows implementation converts them at the boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace reelwright {

// The system's error codes that the program tells apart.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidData = 13;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorHandleEof = 38;
inline constexpr std::uint32_t kErrorLockViolation = 33;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;

// The file attribute bits the program reads and sets.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;

// The outcome of a file operation: the system's error code, 0 on success.
// Tests as true on success, so `if (files.CopyFileOver(...))` reads as before.
struct FileResult {
    std::uint32_t error = 0;

    constexpr explicit operator bool() const { return error == 0; }
    friend constexpr bool operator==(FileResult, FileResult) = default;
};

// The size of a file and the time it was last written, in 100-nanosecond
// steps since 1601-01-01 UTC (the system's file time).
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    bool operator==(const FileStamp&) const = default;
};

// What one folder holds directly: the names (without the folder) of its files
// and of its sub-folders, in no particular order.
struct FolderContents {
    std::vector<std::string> files;
    // stamps[i] is the stamp of files[i], as the listing saw it.
    std::vector<FileStamp> stamps;
    std::vector<std::string> folders;
    // The folder is itself a link to another place (a junction, a symbolic
    // link, a mount point): nothing is listed.
    bool isLink = false;
};

// What an open handle tells about the file or folder it holds.
struct HeldFacts {
    bool directory = false;
    bool reparsePoint = false;  // a junction, a symbolic link or another reparse point
    std::uint32_t links = 1;    // the file's hard links
    std::string finalPath;      // the system's final path of the handle, without a "\\?\" prefix
};

// How Hold opens a path. None of them follows a link: a link is held itself.
enum class HoldMode {
    Inspect,        // an existing file or folder, to read its facts
    WriteExisting,  // an existing file, to replace its contents
    CreateNew,      // a file that must not exist yet, to write its contents (or delete it again)
    Attributes,     // an existing file, to change its attributes
    Read,           // an existing file, to read it: others may only read it meanwhile, and a
                    // program held so can still be started
};

// A file or folder held open. While it is held no one can delete, rename or
// replace it; others may still read it (and write it, unless it was opened
// to write or to read).
class HeldItem {
public:
    virtual ~HeldItem() = default;

    const HeldFacts& Facts() const { return facts_; }

    // Truncates the file and writes `bytes` as they are, in one write (held to
    // write only).
    virtual FileResult Replace(std::string_view bytes) = 0;

    // Sets the attributes to read-only alone (held for attributes only).
    virtual FileResult MakeReadOnly() = 0;

    // Reads the file from its start: at most `limit` + 1 bytes, so that more
    // than `limit` tells that the file is larger (held to read only).
    virtual FileResult Read(std::size_t limit, std::string& bytes) = 0;

    // Deletes the file that was created, wherever its folder lies by now; it
    // is gone when the owner ends (held as a new file only).
    virtual FileResult Delete() = 0;

protected:
    explicit HeldItem(HeldFacts facts) : facts_(std::move(facts)) {}

private:
    HeldFacts facts_;
};

// A file held open to be read at any offset: others may read it meanwhile,
// but not write, rename or delete it, so that what is read stays one file.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;

    // The file's size when it was opened.
    virtual std::uint64_t Size() const = 0;

    // Reads exactly `count` bytes from `offset` into `bytes`; a file that
    // ends before gives kErrorHandleEof.
    virtual FileResult ReadAt(std::uint64_t offset, std::size_t count, std::string& bytes) = 0;
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

    // Reads the whole file as it is, letting others read and write it meanwhile.
    virtual FileResult ReadWholeFile(const std::string& path, std::string& bytes) = 0;

    // Writes the bytes to a new file in the same folder (made when missing)
    // and renames it over `path`: the file is never left half written.
    virtual FileResult ReplaceFile(const std::string& path, const std::string& bytes) = 0;

    // The file's attributes; nothing when there is no such file (or it is a
    // folder).
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;

    // Sets the file's attributes to exactly these.
    virtual FileResult SetAttributes(const std::string& path, std::uint32_t attributes) = 0;

    // Deletes the file.
    virtual FileResult RemoveFile(const std::string& path) = 0;

    // Gives the file `from` the path `to` in the same volume; fails (the file
    // exists error) when anything is at `to` already.
    virtual FileResult RenameFile(const std::string& from, const std::string& to) = 0;

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

    // True when the file exists and carries the read-only attribute.
    virtual bool IsReadOnly(const std::string& path) = 0;

    // Opens `path` in the given way without following a link and holds it
    // until the returned owner ends; nothing, with the system's error in
    // `error`, when it could not be opened.
    virtual std::unique_ptr<HeldItem> Hold(const std::string& path, HoldMode mode, FileResult& error) = 0;

    // Reads the file once, whole, from a handle that follows no link and lets
    // no one write it meanwhile: its facts, and at most `limit` + 1 bytes
    // (more than `limit` tells that the file is larger). Nothing is read from
    // a link or a folder.
    virtual FileResult ReadHeldFile(const std::string& path, std::size_t limit, std::string& bytes,
                                    HeldFacts& facts) = 0;

    // The text of bytes in the system's ANSI code page (how scripts are
    // written), as UTF-8.
    virtual std::string TextFromAnsi(std::string_view bytes) = 0;

    // True when the full path's drive is a fixed drive of this machine.
    virtual bool IsLocalFixedDrive(const std::string& path) = 0;

    // The user's temporary folder, without a final separator.
    virtual std::string TemporaryFolder() = 0;

    // Creates a folder; fails when anything of that name exists already.
    virtual FileResult CreateFolder(const std::string& path) = 0;

    // Deletes an empty folder.
    virtual FileResult RemoveFolder(const std::string& path) = 0;

    // Creates a file that must not exist yet and writes `bytes` as they are.
    virtual FileResult WriteNewFile(const std::string& path, std::string_view bytes) = 0;

    // Opens an existing file (not a folder) to read it at any offset; nothing,
    // with the system's error in `error`, when it could not be opened.
    virtual std::unique_ptr<ReadableFile> OpenToRead(const std::string& path, FileResult& error) = 0;

    // Renames a file or a folder (with everything in it) within its volume;
    // fails when anything of the new name exists.
    virtual FileResult MoveItem(const std::string& from, const std::string& to) = 0;
};

}  // namespace reelwright
