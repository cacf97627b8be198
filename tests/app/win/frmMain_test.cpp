#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win/frmMain.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

struct MainWindow : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        ASSERT_EQ(window.Load(""), LoadOutcome::ShowWindow);
        window.Show();
    }
    void TearDown() override { ClearSettings(); }

    // A control's place relative to the frame, in pixels.
    PixelRect InFrame(HWND control) {
        const PixelRect frame = win::PlaceInParent(window.fmeReelwright, window.hwnd());
        const PixelRect place = win::PlaceInParent(control, window.hwnd());
        return {place.left - frame.left, place.top - frame.top, place.width, place.height};
    }

    RealServices real;
    frmMain window{real.Services(), real.sessions};
};

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[128]{};
    ::GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindow, HasItsTitleFixedBorderAndNoMaximiseBox) {
    EXPECT_EQ(WindowText(window.hwnd()), L"Reelwright");
    const LONG style = ::GetWindowLongW(window.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(::IsWindowVisible(window.hwnd()));
    RECT client{};
    ::GetClientRect(window.hwnd(), &client);
    EXPECT_EQ(client.right, 431);  // 6465 twips at 15 twips per pixel
    EXPECT_EQ(client.bottom, 428);  // 6420 twips
}

TEST_F(MainWindow, MenusCarryTheirCaptionsAndAccessKeys) {
    HMENU bar = ::GetMenu(window.hwnd());
    ASSERT_EQ(::GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 0), L"File");
    EXPECT_EQ(MenuText(bar, 1), L"T&ools");
    EXPECT_EQ(MenuText(bar, 2), L"&Help");
    EXPECT_EQ(MenuText(::GetSubMenu(bar, 0), 0), L"Locate SOF2.exe File");
    EXPECT_EQ(MenuText(::GetSubMenu(bar, 1), 0), L"Properties");
    EXPECT_EQ(MenuText(::GetSubMenu(bar, 2), 0), L"A&bout");
    EXPECT_EQ(::GetMenuItemID(::GetSubMenu(bar, 0), 0), static_cast<UINT>(frmMain::IDM_mnuLocateFile));
    EXPECT_EQ(::GetMenuItemID(::GetSubMenu(bar, 1), 0), static_cast<UINT>(frmMain::IDM_mnuProperties));
    EXPECT_EQ(::GetMenuItemID(::GetSubMenu(bar, 2), 0), static_cast<UINT>(frmMain::IDM_mnuAbout));
}

TEST_F(MainWindow, ControlsCarryTheirCaptionsAtTheirPlacesAt96Dpi) {
    ASSERT_EQ(window.dpi(), 96);
    EXPECT_EQ(WindowText(window.fmeReelwright), L"Reelwright");
    EXPECT_EQ(win::PlaceInParent(window.fmeReelwright, window.hwnd()), (PixelRect{16, 16, 393, 401}));

    struct Expected {
        HWND control;
        const wchar_t* text;
        PixelRect place;
    } expected[] = {
        {window.lblQueDemos, L"Queued demo's:", {8, 24, 137, 17}},
        {window.lvwDemoQue, nullptr, {8, 48, 313, 241}},
        {window.cmdAdd, L"Add", {328, 48, 57, 25}},
        {window.cmdRemove, L"Remove", {328, 80, 57, 25}},
        {window.cmdClear, L"Clear List", {328, 112, 57, 25}},
        {window.lblOptionalParams, L"Optional Parameters:", {8, 304, 113, 17}},
        {window.txtOptionalParams, L"", {8, 328, 377, 25}},
        {window.cmdLaunch, L"Launch", {152, 368, 73, 25}},
    };
    for (const auto& item : expected) {
        ASSERT_NE(item.control, nullptr);
        if (item.text) {
            EXPECT_EQ(WindowText(item.control), item.text);
        }
        EXPECT_EQ(InFrame(item.control), item.place) << basAPI::Narrow(WindowText(item.control));
    }
}

// Name, Game Type and Path first, 1440 twips each; then Map and Length, to
// which the list scrolls sideways.
TEST_F(MainWindow, ListShowsReportViewWithItsFiveColumns) {
    EXPECT_EQ(::GetWindowLongW(window.lvwDemoQue, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(window.lvwDemoQue) & LVS_EX_INFOTIP);
    HWND header = ListView_GetHeader(window.lvwDemoQue);
    ASSERT_EQ(Header_GetItemCount(header), 5);
    const wchar_t* titles[] = {L"Name", L"Game Type", L"Path", L"Map", L"Length"};
    const int widths[] = {96, 96, 96, 96, 72};
    for (int column = 0; column < 5; ++column) {
        wchar_t text[64]{};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        Header_GetItem(header, column, &item);
        EXPECT_STREQ(text, titles[column]);
        EXPECT_EQ(ListView_GetColumnWidth(window.lvwDemoQue, column), widths[column]);
    }
    EXPECT_EQ(ListView_GetItemCount(window.lvwDemoQue), 0);
}

TEST_F(MainWindow, TabGoesThroughTheControlsInTheirOrder) {
    std::vector<HWND> order{window.cmdLaunch};
    for (int step = 0; step < 6; ++step) order.push_back(::GetNextDlgTabItem(window.hwnd(), order.back(), FALSE));
    EXPECT_EQ(order, (std::vector<HWND>{window.cmdLaunch, window.txtOptionalParams, window.lvwDemoQue, window.cmdAdd,
                                         window.cmdRemove, window.cmdClear, window.cmdLaunch}));
}

}  // namespace
}  // namespace reelwright
