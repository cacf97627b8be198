// The real implementations of the file system and shell seams.
#pragma once

#include <windows.h>

#include "core/FileSystem.h"
#include "core/GameShell.h"

namespace reelwright::win {

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    FileResult SetReadOnly(const std::string& path) override;
    FileResult CopyFileOver(const std::string& from, const std::string& to) override;
    FileResult WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) override;
    FileResult ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) override;
    FileResult RemoveFile(const std::string& path) override;
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
};

class Win32GameShell : public GameShell {
public:
    explicit Win32GameShell(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    std::uint32_t ShellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                            int showMode) override;
    std::string ErrorText(std::uint32_t code) override;
    bool FitsAnsiCodePage(const std::string& text) override;

private:
    HWND owner_;
};

}  // namespace reelwright::win
