#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

TEST_F(MainWindow, HasItsTitleASizingBorderAndOpensAtItsDesignedSize) {
    EXPECT_EQ(WindowText(window.hwnd()), L"Reelwright");
    // Files dropped on it (the list included: a child's drop goes to the
    // nearest window that takes files) reach the window.
    EXPECT_TRUE(::GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const LONG style = ::GetWindowLongW(window.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(::IsZoomed(window.hwnd()));
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
    EXPECT_EQ(MenuText(::GetSubMenu(bar, 0), 1), L"&Browse Demos...\tCtrl+B");
    EXPECT_EQ(::GetMenuItemID(::GetSubMenu(bar, 0), 1), static_cast<UINT>(frmMain::IDM_mnuBrowseDemos));
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

// Where every control of the window is, in its client area.
struct Places {
    explicit Places(const frmMain& window)
        : client(ClientOf(window.hwnd())),
          frame(win::PlaceInParent(window.fmeReelwright, window.hwnd())),
          queueLabel(win::PlaceInParent(window.lblQueDemos, window.hwnd())),
          list(win::PlaceInParent(window.lvwDemoQue, window.hwnd())),
          add(win::PlaceInParent(window.cmdAdd, window.hwnd())),
          remove(win::PlaceInParent(window.cmdRemove, window.hwnd())),
          clear(win::PlaceInParent(window.cmdClear, window.hwnd())),
          parametersLabel(win::PlaceInParent(window.lblOptionalParams, window.hwnd())),
          parameters(win::PlaceInParent(window.txtOptionalParams, window.hwnd())),
          launch(win::PlaceInParent(window.cmdLaunch, window.hwnd())) {}
    PixelRect client, frame, queueLabel, list, add, remove, clear, parametersLabel, parameters, launch;
};

int ToRightEdge(const PixelRect& place, const PixelRect& client) { return client.width - place.left - place.width; }
int ToBottomEdge(const PixelRect& place, const PixelRect& client) { return client.height - place.top - place.height; }

// The window as it is now, against the same window at its designed size: the
// frame, the queue and the parameters box grew by as much as the window; the
// buttons beside the queue kept their distance to the right edge, the
// parameters and Launch theirs to the bottom, and Launch stayed centred.
void ExpectFollowed(const Places& now, const Places& designed) {
    const int wider = now.client.width - designed.client.width;
    const int taller = now.client.height - designed.client.height;
    ASSERT_GE(wider, 0);
    ASSERT_GE(taller, 0);
    EXPECT_EQ(now.queueLabel, designed.queueLabel);
    for (auto grown : {&Places::frame, &Places::list}) {
        const PixelRect& place = now.*grown;
        const PixelRect& before = designed.*grown;
        EXPECT_EQ(place, (PixelRect{before.left, before.top, before.width + wider, before.height + taller}));
    }
    for (auto button : {&Places::add, &Places::remove, &Places::clear}) {
        SCOPED_TRACE("a button beside the queue");
        EXPECT_EQ(ToRightEdge(now.*button, now.client), ToRightEdge(designed.*button, designed.client));
        EXPECT_EQ((now.*button).top, (designed.*button).top);
        EXPECT_EQ((now.*button).width, (designed.*button).width);
        EXPECT_EQ(ToRightEdge(now.*button, now.client) - ToRightEdge(now.list, now.client),
                  ToRightEdge(designed.*button, designed.client) - ToRightEdge(designed.list, designed.client));
    }
    EXPECT_EQ(now.parametersLabel.left, designed.parametersLabel.left);
    EXPECT_EQ(ToBottomEdge(now.parametersLabel, now.client), ToBottomEdge(designed.parametersLabel, designed.client));
    EXPECT_EQ(now.parameters, (PixelRect{designed.parameters.left, designed.parameters.top + taller,
                                         designed.parameters.width + wider, designed.parameters.height}));
    EXPECT_EQ(ToBottomEdge(now.launch, now.client), ToBottomEdge(designed.launch, designed.client));
    EXPECT_EQ(now.launch.width, designed.launch.width);
    EXPECT_EQ(now.launch.left, designed.launch.left + wider / 2);
}

TEST_F(MainWindow, ResizedTheQueueGrowsAndTheButtonsKeepToTheRightEdgeAt96And144Dpi) {
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(::testing::Message() << dpi << " DPI");
        if (dpi != window.dpi()) SendDpiChanged(window.hwnd(), dpi);
        const Places designed(window);
        ASSERT_EQ(designed.client, (PixelRect{0, 0, TwipsToPixels(6465, dpi), TwipsToPixels(6420, dpi)}));
        for (const auto& [wider, taller] : {std::pair{150, 75}, std::pair{1, 1}, std::pair{0, 333}, std::pair{401, 0}}) {
            SCOPED_TRACE(::testing::Message() << wider << " x " << taller << " pixels larger");
            SizeClientTo(window.hwnd(), designed.client.width + wider, designed.client.height + taller);
            const Places now(window);
            ASSERT_EQ(now.client.width, designed.client.width + wider);
            ASSERT_EQ(now.client.height, designed.client.height + taller);
            ExpectFollowed(now, designed);
        }
        SizeClientTo(window.hwnd(), designed.client.width, designed.client.height);
        ExpectFollowed(Places(window), designed);
        EXPECT_EQ(Places(window).list, designed.list);
    }
}

// A larger window moved to a monitor of 144 DPI keeps its size in inches,
// and its controls follow it there and back.
TEST_F(MainWindow, ALargerWindowKeepsItsSizeAndLayoutThroughADpiChange) {
    const Places designed96(window);
    SizeClientTo(window.hwnd(), designed96.client.width + 150, designed96.client.height + 90);
    const TwipsSize kept = window.clientSize();
    EXPECT_EQ(kept, (TwipsSize{(431 + 150) * 15, (428 + 90) * 15}));

    SendDpiChanged(window.hwnd(), 144);
    EXPECT_EQ(window.clientSize(), kept);
    const Places at144(window);
    EXPECT_EQ(at144.client, (PixelRect{0, 0, TwipsToPixels(kept.width, 144), TwipsToPixels(kept.height, 144)}));
    // The same window at its designed size at 144 DPI, for comparison.
    frmMain reference{real.Services(), real.sessions};
    ASSERT_EQ(reference.Load(""), LoadOutcome::ShowWindow);
    SendDpiChanged(reference.hwnd(), 144);
    ExpectFollowed(at144, Places(reference));

    SendDpiChanged(window.hwnd(), 96);
    EXPECT_EQ(window.clientSize(), kept);
    ExpectFollowed(Places(window), designed96);
    EXPECT_EQ(ClientOf(window.hwnd()), (PixelRect{0, 0, 431 + 150, 428 + 90}));
}

TEST_F(MainWindow, IsNeverSmallerThanDesignedAt96And144Dpi) {
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(::testing::Message() << dpi << " DPI");
        if (dpi != window.dpi()) SendDpiChanged(window.hwnd(), dpi);
        const PixelRect designed{0, 0, TwipsToPixels(6465, dpi), TwipsToPixels(6420, dpi)};
        RECT outer{};
        ::GetWindowRect(window.hwnd(), &outer);

        // What the system asks before the user drags the border.
        MINMAXINFO limits{};
        ::SendMessageW(window.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        EXPECT_EQ(limits.ptMinTrackSize.x, outer.right - outer.left);
        EXPECT_EQ(limits.ptMinTrackSize.y, outer.bottom - outer.top);

        for (const auto& [width, height] : {std::pair{100, 100}, std::pair{designed.width - 1, designed.height + 50},
                                           std::pair{designed.width + 50, designed.height - 1}}) {
            SizeClientTo(window.hwnd(), width, height);
            const PixelRect client = ClientOf(window.hwnd());
            EXPECT_EQ(client.width, std::max(width, designed.width));
            EXPECT_EQ(client.height, std::max(height, designed.height));
        }
        SizeClientTo(window.hwnd(), designed.width, designed.height);
    }
}

// The window started anew, as at the program's next start, with what the
// previous one kept.
struct KeptWindow : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
    }
    void TearDown() override { ClearSettings(); }

    frmMain& Start() {
        window = std::make_unique<frmMain>(real.Services(), real.sessions);
        if (window->Load("") != LoadOutcome::ShowWindow) throw std::runtime_error("the main window did not load");
        window->Show();
        return *window;
    }
    void Close() {
        ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
        ASSERT_FALSE(window->IsOpen());
    }
    std::string Kept(const char* key) { return ReadSetting("Main Window", key).value_or("(missing)"); }

    RealServices real;
    std::unique_ptr<frmMain> window;
};

std::vector<int> ColumnWidthsOf(const frmMain& window) {
    std::vector<int> widths;
    for (int column = 0; column < 5; ++column) widths.push_back(ListView_GetColumnWidth(window.lvwDemoQue, column));
    return widths;
}

TEST_F(KeptWindow, SizeMaximisedAndColumnWidthsComeBackAtTheNextStart) {
    frmMain& first = Start();
    SizeClientTo(first.hwnd(), 431 + 120, 428 + 90);
    const std::vector<int> dragged{150, 80, 200, 60, 50};
    for (int column = 0; column < 5; ++column) ListView_SetColumnWidth(first.lvwDemoQue, column, dragged[column]);
    Close();
    EXPECT_EQ(Kept("Width"), std::to_string(551 * 15));
    EXPECT_EQ(Kept("Height"), std::to_string(518 * 15));
    EXPECT_EQ(Kept("Maximised"), "0");
    EXPECT_EQ(Kept("Column Widths"), "2250,1200,3000,900,750");

    frmMain& second = Start();
    EXPECT_FALSE(::IsZoomed(second.hwnd()));
    EXPECT_EQ(ClientOf(second.hwnd()), (PixelRect{0, 0, 551, 518}));
    EXPECT_EQ(ColumnWidthsOf(second), dragged);
    const Places reopened(second);
    SizeClientTo(second.hwnd(), 431, 428);
    const Places designed(second);
    ExpectFollowed(reopened, designed);
    SizeClientTo(second.hwnd(), 551, 518);
    // Maximised, it keeps the size it comes back to.
    ::ShowWindow(second.hwnd(), SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(second.hwnd()));
    EXPECT_GT(ClientOf(second.hwnd()).width, 551);
    Close();
    EXPECT_EQ(Kept("Maximised"), "1");
    EXPECT_EQ(Kept("Width"), std::to_string(551 * 15));
    EXPECT_EQ(Kept("Height"), std::to_string(518 * 15));

    frmMain& third = Start();
    EXPECT_TRUE(::IsZoomed(third.hwnd()));
    // Minimised from maximised, as Launch leaves it, it still opens maximised.
    ::ShowWindow(third.hwnd(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(third.hwnd()));
    Close();
    EXPECT_EQ(Kept("Maximised"), "1");

    frmMain& fourth = Start();
    EXPECT_TRUE(::IsZoomed(fourth.hwnd()));
    ::ShowWindow(fourth.hwnd(), SW_RESTORE);
    EXPECT_EQ(ClientOf(fourth.hwnd()), (PixelRect{0, 0, 551, 518}));
    EXPECT_EQ(ColumnWidthsOf(fourth), dragged);
    Close();
    EXPECT_EQ(Kept("Maximised"), "0");
}

TEST_F(KeptWindow, ColumnWidthsSetAt144DpiAreKeptInTwips) {
    frmMain& first = Start();
    SendDpiChanged(first.hwnd(), 144);
    ListView_SetColumnWidth(first.lvwDemoQue, 2, 300);
    Close();
    EXPECT_EQ(Kept("Column Widths"), "1440,1440,3000,1440,1080");
    EXPECT_EQ(Kept("Width"), "6465");
    EXPECT_EQ(Kept("Height"), "6420");

    frmMain& second = Start();
    EXPECT_EQ(ColumnWidthsOf(second), (std::vector<int>{96, 96, 200, 96, 72}));
}

TEST_F(KeptWindow, WhatCannotBeUsedOpensTheWindowAsDesigned) {
    const PixelRect designed{0, 0, 431, 428};
    const std::vector<int> designedColumns{96, 96, 96, 96, 72};
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        std::string what;
        std::optional<std::string> width, height, maximised, columns;
        PixelRect client;
        bool zoomed;
        std::vector<int> columnWidths;
    } cases[] = {
        {"nothing kept", {}, {}, {}, {}, designed, false, designedColumns},
        {"a size that fits", "9000", "7500", "0", "1500,1500,1500,1500,1500", {0, 0, 600, 500}, false,
         {100, 100, 100, 100, 100}},
        {"as wide as the screen", std::to_string(screenWidth * 15), "7500", {}, {}, designed, false, designedColumns},
        {"as high as the screen", "9000", std::to_string(screenHeight * 15), {}, {}, designed, false, designedColumns},
        {"no height", "9000", {}, {}, {}, designed, false, designedColumns},
        {"not numbers", "wide", "high", "yes", "some,widths", designed, false, designedColumns},
        {"four column widths", "9000", "7500", "2", "1500,1500,1500,1500", {0, 0, 600, 500}, false, designedColumns},
        {"maximised", "9000", "7500", "1", {}, {0, 0, 600, 500}, true, designedColumns},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        if (c.width) SeedSetting("Main Window", "Width", *c.width);
        if (c.height) SeedSetting("Main Window", "Height", *c.height);
        if (c.maximised) SeedSetting("Main Window", "Maximised", *c.maximised);
        if (c.columns) SeedSetting("Main Window", "Column Widths", *c.columns);
        frmMain& started = Start();
        EXPECT_EQ(::IsZoomed(started.hwnd()) != FALSE, c.zoomed);
        if (c.zoomed) ::ShowWindow(started.hwnd(), SW_RESTORE);
        EXPECT_EQ(ClientOf(started.hwnd()), c.client);
        EXPECT_EQ(ColumnWidthsOf(started), c.columnWidths);
        Close();
    }
}

// A window that was never shown (the first-run prompt was cancelled) keeps
// nothing.
TEST_F(KeptWindow, AWindowNeverShownKeepsNothing) {
    window = std::make_unique<frmMain>(real.Services(), real.sessions);
    ASSERT_EQ(window->Load(""), LoadOutcome::ShowWindow);
    Close();
    EXPECT_EQ(ReadSetting("Main Window", "Width"), std::nullopt);
    EXPECT_EQ(ReadSetting("Main Window", "Column Widths"), std::nullopt);
}

}  // namespace
}  // namespace reelwright
