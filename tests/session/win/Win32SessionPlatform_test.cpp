// The session journal's Windows platform: a started game followed by its id
// and creation time.
#include "session/win/Win32SessionPlatform.h"

#include <gtest/gtest.h>

#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

TEST(Win32SessionPlatform, FollowsTheStartedGameByItsIdAndCreationTime) {
    GameFolder game;
    win::Win32FileSystem files;
    win::Win32SessionPlatform platform(files, basAPI::Narrow(ProgramPath()));
    std::optional<SessionProcess> started;
    ASSERT_EQ(platform.StartGame(game.pathUtf8() + "\\SoF2MP.exe", "+set x 1", game.pathUtf8(), SW_SHOWNORMAL, started),
              0u);
    ASSERT_TRUE(started);
    EXPECT_FALSE(platform.ProcessEnded(*started));
    // The same id with another creation time is another process: the game's has ended.
    EXPECT_TRUE(platform.ProcessEnded({started->id, started->creationTime + 1}));
    EXPECT_FALSE(platform.ProcessEnded(platform.CurrentProcess()));
    game.EndStandInGames();
    EXPECT_TRUE(platform.ProcessEnded(*started));

    std::optional<SessionProcess> none;
    EXPECT_NE(platform.StartGame(game.pathUtf8() + "\\missing\\SoF2MP.exe", "", game.pathUtf8(), SW_SHOWNORMAL, none),
              0u);
    EXPECT_FALSE(none);
}

// Below Program Files the user's copy of the config in the virtual store is
// the one the game reads and writes; the session records and restores it.
TEST(Win32SessionPlatform, FindsTheUsersVirtualStoreCopyBelowProgramFiles) {
    win::Win32FileSystem files;
    win::Win32SessionPlatform platform(files, basAPI::Narrow(ProgramPath()));
    const VirtualisedFolders where = platform.Virtualised();
    EXPECT_EQ(where.localAppData, basAPI::Narrow(LocalAppDataFolder()));
    EXPECT_EQ(VirtualStorePath("C:\\Program Files (x86)\\SOF2\\base\\mp\\SOF2MP.cfg", where),
              basAPI::Narrow(LocalAppDataFolder()) + "\\VirtualStore\\Program Files (x86)\\SOF2\\base\\mp\\SOF2MP.cfg");
    EXPECT_EQ(VirtualStorePath("C:\\Games\\SOF2\\base\\mp\\SOF2MP.cfg", where), std::nullopt);
}

}  // namespace
}  // namespace reelwright
