// Starting a program through the shell's "Open" verb. The Windows
// implementation calls basFunctions::ShellOpen with its owner window.
#pragma once

#include <cstdint>
#include <string>

namespace reelwright {

// The window show code that every caller asks for: the game opens maximised.
inline constexpr int kShowMaximized = 3;

// The file name under which the game is started, in the game folder.
inline constexpr const char* kGameExecutableToStart = "SoF2MP.exe";
// The file name the game folder setup and Launch test for.
inline constexpr const char* kGameExecutable = "SOF2MP.exe";

class GameShell {
public:
    virtual ~GameShell() = default;

    // Returns the shell's result code (above 32 means success).
    virtual std::intptr_t ShellOpen(const std::string& file, const std::string& parameters,
                                    const std::string& directory, int showMode) = 0;
};

}  // namespace reelwright
