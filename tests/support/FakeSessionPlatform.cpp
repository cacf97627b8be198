#include "support/FakeSessionPlatform.h"

namespace reelwright::test {

void FakeSessionPlatform::Pause(std::chrono::milliseconds duration) {
    ++pauses;
    pausedFor += duration;
}

std::uint32_t FakeSessionPlatform::StartGame(const std::string&, const std::string& parameters, const std::string&,
                                             int, std::optional<SessionProcess>& game) {
    starts.push_back(parameters);
    if (startError) return startError;
    lastGame = {nextId_++, 5000 + nextId_};
    running[lastGame.id] = lastGame.creationTime;
    if (startGivesProcess) game = lastGame;
    return 0;
}

}  // namespace reelwright::test
