// The watcher mode's command line: written by Launch, read back by the
// watcher, and nothing else taken for it.
#include "session/SessionWatch.h"

#include <gtest/gtest.h>

#include <optional>

namespace reelwright {
namespace {

TEST(SessionWatch, TheLineLaunchWritesReadsBack) {
    const SessionProcess game{4242, 133'000'000'000'000'000};
    for (const std::uintptr_t handle : {std::uintptr_t{0}, std::uintptr_t{0x1a4}, ~std::uintptr_t{0}}) {
        const std::string line = WatchSessionParameters(handle, game);
        EXPECT_TRUE(IsWatchSessionCommandLine(line)) << line;
        EXPECT_EQ(ParseWatchSessionParameters(line), (WatchRequest{handle, game})) << line;
    }
    EXPECT_EQ(WatchSessionParameters(420, {56, 789}), "/watch-session 420 56 789");
}

TEST(SessionWatch, OtherLinesAreRefused) {
    const struct {
        const char* tail;
        bool watcherMode;  // the switch comes first
    } cases[] = {
        {"", false},
        {"\"C:\\Games\\SOF2\\base\\mp\\demos\\a.dm_2004\"", false},
        {"/watch-sessions 1 2 3", false},
        {"\"C:\\x\\/watch-session\" 1 2 3", false},
        {"/copy-script \"a\" \"b\" \"c\"", false},
        {"/watch-session", true},
        {"/watch-session 1 2", true},
        {"/watch-session 1 2 3 4", true},
        {"/watch-session x 2 3", true},
        {"/watch-session 1 -2 3", true},
        {"/watch-session 1 2 3x", true},
        {"/watch-session 1 4294967296 3", true},  // an id wider than 32 bits
        {"/watch-session 1 2 18446744073709551616", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWatchSessionCommandLine(c.tail), c.watcherMode) << c.tail;
        EXPECT_EQ(ParseWatchSessionParameters(c.tail), std::nullopt) << c.tail;
    }
    // Quoted numbers are numbers all the same.
    EXPECT_EQ(ParseWatchSessionParameters(" /watch-session \"1\" 2 3 "), (WatchRequest{1, {2, 3}}));
}

}  // namespace
}  // namespace reelwright
