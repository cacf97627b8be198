// Starts a program with the "runas" verb (the system's consent prompt) and
// waits for it with the owner window disabled and its messages pumped, so the
// window keeps painting but takes no input until the program has ended.
#pragma once

#include <windows.h>

#include <string>

#include "core/ElevatedRunner.h"

namespace reelwright::win {

class Win32ElevatedRunner : public ElevatedStarter {
public:
    explicit Win32ElevatedRunner(HWND owner = nullptr) : owner_(owner) {}
    // The window disabled while the helper runs.
    void SetOwner(HWND owner) { owner_ = owner; }

    std::optional<std::uint32_t> StartElevated(const std::string& program, const std::string& parameters) override;

private:
    HWND owner_;
};

}  // namespace reelwright::win
