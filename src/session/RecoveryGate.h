// The recovery of ended sessions at the program's start runs on a thread of
// its own once the main window is shown. Launch must not record a session
// while it runs (it would record the script's lines of a config not yet put
// back as the player's): it waits here first, for a bounded time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace reelwright {

class RecoveryGate {
public:
    // A recovery runs from now on; called before its thread starts.
    void Begin();
    // The recovery has ended.
    void End();
    // Waits at most `limit` for a running recovery to end; true when none
    // runs (any more).
    bool Await(std::chrono::milliseconds limit);

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = false;
};

}  // namespace reelwright
