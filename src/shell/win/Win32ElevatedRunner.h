// Starts a program with the "runas" verb (the system's consent prompt) and
// waits for it with the owner window disabled and its messages pumped, so the
// window keeps painting but takes no input until the program has ended.
#pragma once

#include <windows.h>

#include <string>

#include "core/ElevatedRunner.h"

namespace reelwright::win {

class Win32ElevatedRunner : public ElevatedRunner {
public:
    Win32ElevatedRunner(HWND owner, std::string programPath)
        : owner_(owner), programPath_(std::move(programPath)) {}

    std::optional<std::uint32_t> RunElevated(const std::string& parameters) override;

private:
    HWND owner_;
    std::string programPath_;
};

}  // namespace reelwright::win
