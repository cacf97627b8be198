// Opening a demo file through the shell once ".dm_2004" is associated with the
// built Reelwright.exe: Reelwright starts and plays the demo in the game.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "core/AppInfo.h"
#include "shell/basAssociation.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;

class OpenDemoFromShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        RemoveAssociationKeys();
    }
    void TearDown() override {
        ClearSettings();
        RemoveAssociationKeys();
    }
};

TEST_F(OpenDemoFromShellTest, StartsReelwrightWhichPlaysTheDemo) {
    GameFolder game;
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    RealServices real;
    real.location = ProgramLocation{basAPI::Narrow(BuildFolder()), "Reelwright"};
    ASSERT_EQ(basAssociation::RequestProgramAssociation(real.classes, real.fakePrompts, real.location),
              basAssociation::AssociationWritten::Machine);
    ASSERT_TRUE(real.fakePrompts.messages.empty());
    ASSERT_TRUE(basAssociation::IsProgramAssociated(real.classes, real.location));

    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    request.lpVerb = L"open";
    request.lpFile = demo.c_str();
    request.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(::ShellExecuteExW(&request)) << ::GetLastError();
    basAPI::UniqueHandle reelwright(request.hProcess);

    ASSERT_TRUE(game.WaitForRecords(1));
    const auto records = game.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].parameters,
              "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game base\\mp+demo \"duel.dm_2004\"");
    EXPECT_EQ(records[0].directory, game.pathUtf8());

    // Reelwright's main window opens after the playback; closing it ends the program.
    HWND mainWindow = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (mainWindow = FindTopWindow(L"ReelwrightMain")) != nullptr; }));
    ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    if (reelwright) {
        EXPECT_EQ(::WaitForSingleObject(reelwright.get(), 15000), WAIT_OBJECT_0);
    }

    // The stand-in game logs before it opens its window: wait for the window,
    // so that the game folder's clean-up finds and closes it.
    EXPECT_TRUE(WaitUntil([] { return FindTopWindow(L"StandInGame") != nullptr; }));
}

}  // namespace
}  // namespace reelwright
