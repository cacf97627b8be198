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

// While it lives, the boxes and dialogs of `prompts`, when they are the
// system's, belong to `window`: a tool window other than the main one keeps
// the boxes of its own actions over itself, and is disabled while they are
// up, so that the action cannot be started again meanwhile. Other prompts
// (the tests' recording ones) are left as they are.
class PromptsOwner {
public:
    PromptsOwner(UserPrompts& prompts, HWND window) : prompts_(dynamic_cast<Win32Prompts*>(&prompts)) {
        if (prompts_) {
            previous_ = prompts_->owner();
            prompts_->SetOwner(window);
        }
    }
    ~PromptsOwner() {
        if (prompts_) prompts_->SetOwner(previous_);
    }
    PromptsOwner(const PromptsOwner&) = delete;
    PromptsOwner& operator=(const PromptsOwner&) = delete;

private:
    Win32Prompts* prompts_;
    HWND previous_ = nullptr;
};

}  // namespace reelwright::win
