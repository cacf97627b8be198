// Starting this program once more with administrator rights, for the one job
// that needs them: copying the playback script into a game folder the user
// cannot write. The Windows implementation asks through the system's consent
// prompt and keeps the main window disabled while it waits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace reelwright {

class ElevatedRunner {
public:
    virtual ~ElevatedRunner() = default;

    // Starts the program with `parameters` and administrator rights and waits
    // for it to end; its exit code, or nothing when it was not started (the
    // user declined the prompt, or the start failed).
    virtual std::optional<std::uint32_t> RunElevated(const std::string& parameters) = 0;
};

}  // namespace reelwright
