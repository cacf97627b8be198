// Keys set in the properties dialog of the running program are the keys that
// its next Launch of two demos binds in the playback script.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>

#include "app/win/frmMain.h"
#include "prefs/win/frmProperties.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

struct PropertiesThenLaunch : ::testing::Test {
    void SetUp() override {
        ClearSettings();
    }
    void TearDown() override {
        ClearSettings();
        RemoveAssociationKeys();
    }
};

TEST_F(PropertiesThenLaunch, KeysCapturedInTheDialogAreBoundByTheNextLaunch) {
    GameFolder game;
    const std::wstring first = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring second = game.AddFile(L"mymod\\demos\\ctf1.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    StartedProcess program(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);

    ::PostMessageW(main, WM_COMMAND, frmMain::IDM_mnuProperties, 0);
    HWND dialog = WaitForWindow(frmProperties::kClassName, program.id());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(main); }, 5s));
    HWND keys = ::GetDlgItem(dialog, frmProperties::IDC_fmePreferences1);
    auto box = [&](int index) { return ::GetDlgItem(keys, frmProperties::IDC_txtBind0 + index); };

    ::PostMessageW(box(0), WM_KEYDOWN, VK_NUMPAD6, 1);                 // next demo
    ::PostMessageW(box(7), WM_KEYDOWN, VK_NUMPAD4, 1);                 // previous demo
    ::PostMessageW(box(2), WM_KEYDOWN, 'P', 1);                        // pause
    ::PostMessageW(box(5), WM_SYSKEYDOWN, 'S', (LPARAM{1} << 29) | 1);  // slow motion, Alt held
    // Play: typed by hand after a double-click.
    ::PostMessageW(box(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(box(1), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ::PostMessageW(box(1), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(box(1), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    for (wchar_t c : std::wstring(L"mouse2")) ::PostMessageW(box(1), WM_CHAR, c, 1);
    HWND ok = ::GetDlgItem(dialog, frmProperties::IDC_cmdOk);
    ::PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 15s));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }, 5s));

    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), first));
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), second));
    HWND list = ::GetDlgItem(main, frmMain::IDC_lvwDemoQue);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5s));

    ::PostMessageW(::GetDlgItem(main, frmMain::IDC_cmdLaunch), BM_CLICK, 0, 0);
    ASSERT_TRUE(game.WaitForRecords(1));

    const std::string script = ReadBytes(game.path() + L"\\base\\mp\\Reelwright.cfg");
    EXPECT_EQ(ReadBytes(game.path() + L"\\mymod\\Reelwright.cfg"), script);
    for (const char* line : {"bind KP_LEFTARROW \"vstr demopre\"\r\n", "bind KP_RIGHTARROW \"vstr demonext\"\r\n",
                             "bind P \"vstr paused\"\r\n", "//slow motion\r\nbind S \"vstr slomo\"\r\n",
                             "bind mouse2 \"cl_freezedemo 0\"\r\n",
                             // Untouched boxes store the dialog's own defaults, not Launch's.
                             "bind F4 \"stopdemo\"", "bind F5 \"vstr fast\"\r\n", "bind F7 \"vstr 3rd_Person\"\r\n"})
        EXPECT_NE(script.find(line), std::string::npos) << line;

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10s), 0u);
}

TEST_F(PropertiesThenLaunch, AStoredKeyThatBreaksTheConsoleIsRefusedAtLaunchWithNothingStarted) {
    GameFolder game;
    const std::wstring first = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    const std::wstring second = game.AddFile(L"base\\mp\\demos\\ctf1.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");
    SeedSetting("Binds", "Bind0", "F1;quit");  // "quit" would end the game at once

    StartedProcess program(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), first));
    ASSERT_TRUE(AddDemoWithDialog(main, program.id(), second));
    HWND list = ::GetDlgItem(main, frmMain::IDC_lvwDemoQue);
    ASSERT_TRUE(WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 2; }, 5s));

    ::PostMessageW(::GetDlgItem(main, frmMain::IDC_cmdLaunch), BM_CLICK, 0, 0);
    HWND box = WaitForDialog(program.id(), L"F1;quit");
    ASSERT_NE(box, nullptr);
    const DialogSnapshot shown = ReadDialog(box);
    EXPECT_EQ(shown.title, L"Reelwright - Error playing demo.");
    EXPECT_EQ(shown.text,
              L"The game's console cannot take this demo key as one key, so nothing was written and the game was not "
              L"started:\r\n\r\nNext Demo: \"F1;quit\"\r\n\r\nChoose another key in Tools > Properties, on the Demo "
              L"Keys page: click into the key's box, press the key and then Ok.");
    EXPECT_NE(shown.icon, L"none");
    EXPECT_EQ(shown.buttons, std::vector<int>{IDOK});
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(box); }, 5s));

    // Nothing was started or copied, and the window was not minimised.
    EXPECT_TRUE(game.Records().empty());
    EXPECT_EQ(::GetFileAttributesW((game.path() + L"\\base\\mp\\Reelwright.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(::IsIconic(main));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10s), 0u);
}

}  // namespace
}  // namespace reelwright
