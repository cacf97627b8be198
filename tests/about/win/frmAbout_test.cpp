#include <gtest/gtest.h>

#include <regex>

#include "about/win/frmAbout.h"
#include "app/win/frmMain.h"
#include "core/win/Controls.h"
#include "support/win/WinTestSupport.h"
#include "core/Version.h"

namespace reelwright {
namespace {

using namespace test;

PixelRect At96Dpi(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

struct AboutBox : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        ASSERT_EQ(main.Load(""), LoadOutcome::ShowWindow);
        main.Show();
    }
    void TearDown() override { ClearSettings(); }
    frmAbout& Open() {
        ::SendMessageW(main.hwnd(), WM_COMMAND, frmMain::IDM_mnuAbout, 0);
        frmAbout* about = main.About();
        if (!about) throw std::runtime_error("the About box did not open");
        return *about;
    }

    RealServices real;
    frmMain main{real.Services(), real.sessions};
};

TEST_F(AboutBox, ShowsTitleVersionDescriptionAndCredits) {
    frmAbout& about = Open();
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
    EXPECT_EQ(WindowText(about.hwnd()), L"About Reelwright");
    EXPECT_EQ(WindowText(about.lblTitle), L"Reelwright");
    EXPECT_EQ(WindowText(about.lblVersion), L"Version " REELWRIGHT_PRODUCTVERSION_TEXT);
    EXPECT_EQ(WindowText(about.lblDescription),
              L"App Description :\r\n"
              L"This program was designed to allow Solder Of Fortune 2 demos to be played back without the hassle "
              L"of loading the game first.\r\n"
              L"This program allows you to also play back demo's that have been recorded using Soldier Of Fortune 2 "
              L"mods.");
    EXPECT_EQ(WindowText(about.Label1), L"Development Team");
    EXPECT_EQ(WindowText(about.Label6), L"Visit:");
    const std::pair<HWND, const char*> credits[] = {
        {about.Label2, "Lead Developer"}, {about.Label3, "Graphics"}, {about.Label4, "Scripts"}, {about.Label5, "Publicist"}};
    for (const auto& [label, role] : credits) {
        const std::string line = basAPI::Narrow(WindowText(label));
        EXPECT_TRUE(std::regex_match(line, std::regex(std::string("- ") + role + R"( : [A-Z][a-z]+ [A-Z][a-z]+ \(\w+\))")))
            << line;
    }
    EXPECT_NE(WindowText(about.Label7).find(L"reelwright.example"), std::wstring::npos);
    EXPECT_EQ(WindowText(about.cmdOK), L"OK");
    EXPECT_EQ(::GetFocus(), about.cmdOK);
}

TEST_F(AboutBox, IsAFixedOwnedWindowCentredOnTheScreen) {
    frmAbout& about = Open();
    const LONG style = ::GetWindowLongW(about.hwnd(), GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(about.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_SYSMENU);  // the close box
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_FALSE(exStyle & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW));
    EXPECT_EQ(::GetWindow(about.hwnd(), GW_OWNER), main.hwnd());  // keeps it out of the task bar

    RECT client{};
    ::GetClientRect(about.hwnd(), &client);
    EXPECT_EQ(client.right, 382);   // 5730 twips
    EXPECT_EQ(client.bottom, 326);  // 4890 twips

    RECT window{};
    ::GetWindowRect(about.hwnd(), &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(about.hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_NEAR((window.left + window.right) / 2, (monitor.rcMonitor.left + monitor.rcMonitor.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (monitor.rcMonitor.top + monitor.rcMonitor.bottom) / 2, 1);
}

TEST_F(AboutBox, ControlsLieAtTheirPlacesWithBoldHeadings) {
    frmAbout& about = Open();
    HWND window = about.hwnd();
    EXPECT_EQ(win::PlaceInParent(about.picIcon, window), At96Dpi(240, 240, 540, 540));
    EXPECT_EQ(win::PlaceInParent(about.lblTitle, window), At96Dpi(1050, 240, 4365, 480));
    EXPECT_EQ(win::PlaceInParent(about.lblVersion, window), At96Dpi(1050, 780, 4365, 225));
    EXPECT_EQ(win::PlaceInParent(about.lblDescription, window), At96Dpi(1050, 1125, 4245, 1290));
    EXPECT_EQ(win::PlaceInParent(about.Line1, window).left, 90 / 15);
    EXPECT_EQ(win::PlaceInParent(about.Line1, window).top, 2880 / 15);
    EXPECT_EQ(win::PlaceInParent(about.Line1, window).width, 5580 / 15);  // x 90 to x 5669, both ends drawn
    EXPECT_EQ(win::PlaceInParent(about.Label1, window), At96Dpi(120, 3000, 1935, 255));
    EXPECT_EQ(win::PlaceInParent(about.Label2, window), At96Dpi(120, 3360, 3135, 255));
    EXPECT_EQ(win::PlaceInParent(about.Label3, window), At96Dpi(120, 3720, 2175, 255));
    EXPECT_EQ(win::PlaceInParent(about.Label4, window), At96Dpi(120, 4080, 2295, 255));
    EXPECT_EQ(win::PlaceInParent(about.Label5, window), At96Dpi(120, 4440, 2415, 255));
    EXPECT_EQ(win::PlaceInParent(about.Label6, window), At96Dpi(3360, 3000, 495, 255));
    EXPECT_EQ(win::PlaceInParent(about.Label7, window), At96Dpi(3360, 3360, 2295, 255));
    EXPECT_EQ(win::PlaceInParent(about.cmdOK, window), At96Dpi(4080, 4440, 1260, 345));

    for (HWND heading : {about.Label1, about.Label6}) {
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(heading, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfWeight, FW_BOLD);
        EXPECT_EQ(font.lfHeight, -11);  // 8.25 points at 96 DPI
    }
    EXPECT_NE(::SendMessageW(about.Label2, WM_GETFONT, 0, 0), ::SendMessageW(about.Label1, WM_GETFONT, 0, 0));
}

TEST_F(AboutBox, OkAndTheCloseBoxBothEndItAndEnableTheMainWindow) {
    HWND first = Open().hwnd();
    ::SendMessageW(main.About()->cmdOK, BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(main.About(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));

    HWND second = Open().hwnd();
    EXPECT_FALSE(::IsWindowEnabled(main.hwnd()));
    ::SendMessageW(second, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_EQ(main.About(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
}

TEST_F(AboutBox, OpeningItTwiceKeepsOneBox) {
    frmAbout& about = Open();
    EXPECT_EQ(&Open(), &about);
    ::SendMessageW(about.cmdOK, BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
}

}  // namespace
}  // namespace reelwright
