// The file system seam on Windows: the wide functions underneath, paths
// converted at the boundary.
#pragma once

#include <windows.h>

#include "core/FileSystem.h"

namespace reelwright::win {

// The calling thread's last error as a result; a failure that left no code
// still reads as a failure.
FileResult LastError();

// Gives the file `to` the security entries of its own (the DACL, without the
// inherited ones) that the file held open as `from` has.
FileResult CopyFileSecurity(HANDLE from, const std::wstring& to);

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    FileResult SetReadOnly(const std::string& path) override;
    FileResult CopyFileOver(const std::string& from, const std::string& to) override;
    FileResult WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) override;
    FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) override;
    FileResult ReadWholeFile(const std::string& path, std::string& bytes) override;
    FileResult ReplaceFile(const std::string& path, const std::string& bytes) override;
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    FileResult SetAttributes(const std::string& path, std::uint32_t attributes) override;
    FileResult RemoveFile(const std::string& path) override;
    FileResult RenameFile(const std::string& from, const std::string& to) override;
    std::string MakeTemporaryFile() override;
    std::string ErrorText(std::uint32_t error) override;
    std::optional<FolderContents> ListFolder(const std::string& folder) override;
    bool IsReadOnly(const std::string& path) override;
    std::unique_ptr<HeldItem> Hold(const std::string& path, HoldMode mode, FileResult& error) override;
    FileResult ReadHeldFile(const std::string& path, std::size_t limit, std::string& bytes, HeldFacts& facts) override;
    std::string TextFromAnsi(std::string_view bytes) override;
    bool IsLocalFixedDrive(const std::string& path) override;
    std::string TemporaryFolder() override;
    FileResult CreateFolder(const std::string& path) override;
    FileResult RemoveFolder(const std::string& path) override;
    FileResult WriteNewFile(const std::string& path, std::string_view bytes) override;
    std::unique_ptr<ReadableFile> OpenToRead(const std::string& path, FileResult& error) override;
    FileResult MoveItem(const std::string& from, const std::string& to) override;

    // How ReplaceFile gives the new file the replaced one's security; a seam
    // for tests, since Wine keeps none of its own.
    FileResult (*copySecurity)(HANDLE from, const std::wstring& to) = CopyFileSecurity;
};

}  // namespace reelwright::win
