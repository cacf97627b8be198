// Launch's wait for the start's recovery: none running lets it on at once, a
// running one holds it until it ends or the wait runs out.
#include "session/RecoveryGate.h"

#include <gtest/gtest.h>

#include <thread>

namespace reelwright {
namespace {

using namespace std::chrono_literals;

TEST(RecoveryGate, HoldsLaunchOnlyWhileARecoveryRuns) {
    RecoveryGate gate;
    EXPECT_TRUE(gate.Await(0ms));  // no recovery at all

    gate.Begin();
    EXPECT_FALSE(gate.Await(1ms));  // the wait runs out

    // Ended from the recovery's own thread while Launch waits: the wait ends
    // with it, however long it was allowed to be.
    std::thread recovery([&] { gate.End(); });
    EXPECT_TRUE(gate.Await(std::chrono::hours(1)));
    recovery.join();
    EXPECT_TRUE(gate.Await(0ms));
}

}  // namespace
}  // namespace reelwright
