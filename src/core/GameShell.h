// Starting a program through the shell's "Open" verb, and what the game can
// read. The Windows implementation calls basFunctions::ShellOpen with its
// owner window.
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

    // Starts `file` in `directory`. Returns 0 when the program was started,
    // otherwise the system's error code (GetLastError on Windows).
    virtual std::uint32_t ShellOpen(const std::string& file, const std::string& parameters,
                                    const std::string& directory, int showMode) = 0;

    // The system's text for an error code that ShellOpen returned, without a
    // trailing line break; empty when the system has none.
    virtual std::string ErrorText(std::uint32_t code) = 0;

    // True when every character of the UTF-8 text exists in the system's ANSI
    // code page, in which the game reads its command line and scripts.
    virtual bool FitsAnsiCodePage(const std::string& text) = 0;

    // Opens the folder of the file at `path` in the system's file manager
    // with the file selected. Returns 0 when it was shown, otherwise the
    // system's error code.
    virtual std::uint32_t ShowInFolder(const std::string& path) = 0;
};

}  // namespace reelwright
