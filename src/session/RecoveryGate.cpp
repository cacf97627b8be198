#include "session/RecoveryGate.h"

namespace reelwright {

void RecoveryGate::Begin() {
    const std::lock_guard lock(mutex_);
    running_ = true;
}

void RecoveryGate::End() {
    {
        const std::lock_guard lock(mutex_);
        running_ = false;
    }
    ended_.notify_all();
}

bool RecoveryGate::Await(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, limit, [this] { return !running_; });
}

}  // namespace reelwright
