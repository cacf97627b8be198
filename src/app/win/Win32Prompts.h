// The real message boxes, folder picker and open-file dialog, owned by the
// main window once it exists.
#pragma once

#include <windows.h>

#include "core/UserPrompts.h"

namespace reelwright::win {

class Win32Prompts : public UserPrompts {
public:
    explicit Win32Prompts(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    HWND owner() const { return owner_; }

    MessageAnswer ShowMessage(const std::string& text, const std::string& title, MessageIcon icon,
                              MessageButtons buttons) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::optional<OpenFileResult> ShowOpenFile(const OpenFileRequest& request) override;
    // ProgressRun.cpp
    void RunWithProgress(const std::string& title, const std::string& text, const ProgressWork& work) override;

private:
    HWND owner_;
};

}  // namespace reelwright::win
