// Starting this program once more with administrator rights, for the one job
// that needs them: copying the playback script into a game folder the user
// cannot write. The program's file itself is never what is elevated: its
// folder may be writable by others, so a copy in a fresh folder of the
// user's own is started instead (ElevatedProgramCopy).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace reelwright {

// Starts a program file with administrator rights (the system's consent
// prompt) and waits for it to end; its exit code, or nothing when it was not
// started.
class ElevatedStarter {
public:
    virtual ~ElevatedStarter() = default;
    virtual std::optional<std::uint32_t> StartElevated(const std::string& program, const std::string& parameters) = 0;
};

class ElevatedRunner {
public:
    virtual ~ElevatedRunner() = default;

    // Starts the program with `parameters` and administrator rights and waits
    // for it to end; its exit code, or nothing when it was not started (the
    // user declined the prompt, or the start failed).
    virtual std::optional<std::uint32_t> RunElevated(const std::string& parameters) = 0;
};

}  // namespace reelwright
