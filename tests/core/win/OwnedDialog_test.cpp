// Closing the About box or the properties dialog, whichever way, gives the
// activation back to the main window, not to another program's window lying
// behind it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "about/win/frmAbout.h"
#include "app/win/frmMain.h"
#include "prefs/win/frmProperties.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

constexpr LPARAM kAltHeld = LPARAM{1} << 29;

struct DialogFocus : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        // Another top-level window, the one the system would activate next.
        other.reset(::CreateWindowExW(0, L"Static", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                      300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(other);
        ASSERT_EQ(main.Load(""), LoadOutcome::ShowWindow);
        main.Show();
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main.hwnd(); }));
    }
    void TearDown() override { ClearSettings(); }

    // After a dialog has closed: the main window is usable and in front, and
    // the other window is still there behind it.
    void ExpectMainWindowActive(const std::string& way) {
        SCOPED_TRACE(way);
        PumpMessages();
        EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
        EXPECT_EQ(::GetActiveWindow(), main.hwnd());
        EXPECT_EQ(::GetForegroundWindow(), main.hwnd());
        EXPECT_TRUE(::IsWindowVisible(other.get()));
    }

    UniqueWindow other;
    RealServices real;
    frmMain main{real.Services(), real.sessions};
};

TEST_F(DialogFocus, EveryWayOfClosingTheAboutBoxReturnsToTheMainWindow) {
    const std::pair<const char*, std::function<void(frmAbout&)>> ways[] = {
        {"OK", [](frmAbout& about) { ::SendMessageW(about.cmdOK, BM_CLICK, 0, 0); }},
        {"Escape",
         [](frmAbout& about) {
             ::PostMessageW(about.cmdOK, WM_KEYDOWN, VK_ESCAPE, 1);
             PumpThroughDialog(about.hwnd());
         }},
        {"the close box", [](frmAbout& about) { ::SendMessageW(about.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4",
         [](frmAbout& about) {
             ::PostMessageW(about.cmdOK, WM_SYSKEYDOWN, VK_F4, kAltHeld | 1);
             PumpThroughDialog(about.hwnd());
         }},
        {"WM_CLOSE", [](frmAbout& about) { ::SendMessageW(about.hwnd(), WM_CLOSE, 0, 0); }},
    };
    for (const auto& [way, close] : ways) {
        ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuAbout, 0);
        frmAbout* about = main.About();
        ASSERT_NE(about, nullptr) << way;
        EXPECT_EQ(::GetActiveWindow(), about->hwnd()) << way;
        EXPECT_FALSE(::IsWindowEnabled(main.hwnd())) << way;
        close(*about);
        EXPECT_EQ(main.About(), nullptr) << way;
        ExpectMainWindowActive(way);
    }
}

TEST_F(DialogFocus, OkOnThePropertiesDialogReturnsToTheMainWindow) {
    // OK is the dialog's only way out: once as it is, once after a warning
    // about an empty bind.
    for (bool emptyBind : {false, true}) {
        ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuProperties, 0);
        frmProperties* dialog = main.Properties();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(::GetActiveWindow(), dialog->hwnd());
        if (emptyBind) ::SendMessageW(dialog->txtBind[2], WM_KEYDOWN, VK_OEM_MINUS, 1);
        ::SendMessageW(dialog->cmdOk, BM_CLICK, 0, 0);
        EXPECT_EQ(main.Properties(), nullptr);
        ExpectMainWindowActive(emptyBind ? "OK after a warning" : "OK");
    }
    EXPECT_EQ(real.fakePrompts.messages.size(), 1u);
}

}  // namespace
}  // namespace reelwright
