// The shell seam on Windows: the game started through the shell.
#pragma once

#include <windows.h>

#include "core/GameShell.h"

namespace reelwright::win {

class Win32GameShell : public GameShell {
public:
    explicit Win32GameShell(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    std::uint32_t ShellOpen(const std::string& file, const std::string& parameters, const std::string& directory,
                            int showMode) override;
    std::string ErrorText(std::uint32_t code) override;
    bool FitsAnsiCodePage(const std::string& text) override;
    // SHOpenFolderAndSelectItems with the file's item id list.
    std::uint32_t ShowInFolder(const std::string& path) override;

private:
    HWND owner_;
};

}  // namespace reelwright::win
