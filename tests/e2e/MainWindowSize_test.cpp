// Reelwright.exe started as a user would on a screen of 144 DPI, with the
// size and the column widths that the main window kept when it last closed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/win/frmMain.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

struct MainWindowSize : ::testing::Test {
    void SetUp() override {
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        SeedSetting("Settings", "Load Splash", "0");
    }
    void TearDown() override { ClearSettings(); }

    // Starts the program and waits for its main window.
    HWND Start() {
        program = std::make_unique<StartedProcess>(ProgramPath(), L"");
        HWND main = WaitForWindow(frmMain::kClassName, program->id());
        if (!main) throw std::runtime_error("the main window did not open");
        return main;
    }
    void Close(HWND main) {
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program->WaitForExit(10s), 0u);
    }
    std::string Kept(const char* key) { return ReadSetting("Main Window", key).value_or("(missing)"); }

    GameFolder game;
    std::unique_ptr<StartedProcess> program;
};

HWND Control(HWND main, int id) { return ::GetDlgItem(main, id); }

std::vector<int> ColumnWidths(HWND main) {
    std::vector<int> widths;
    for (int column = 0; column < 5; ++column)
        widths.push_back(static_cast<int>(
            ::SendMessageW(Control(main, frmMain::IDC_lvwDemoQue), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0)));
    return widths;
}

int ToRightEdge(HWND main, int id) {
    const PixelRect place = win::PlaceInParent(Control(main, id), main);
    return ClientOf(main).width - place.left - place.width;
}

// At 144 DPI the kept twips are half as many pixels again, and the controls
// keep their distances in pixels at that DPI.
TEST_F(MainWindowSize, AtASystemDpiOf144TheKeptSizeIsConvertedAtIt) {
    const SystemDpiForNewPrograms scaled(144);
    SeedSetting("Main Window", "Width", "9000");
    SeedSetting("Main Window", "Height", "7500");
    SeedSetting("Main Window", "Column Widths", "3000,1440,1440,1440,1080");
    HWND main = Start();
    EXPECT_EQ(ClientOf(main), (PixelRect{0, 0, 900, 750}));
    EXPECT_EQ(ColumnWidths(main), (std::vector<int>{300, 144, 144, 144, 108}));
    // Designed at 144 DPI: a client area of 647 x 642, the list 470 x 362,
    // the Add button 45 pixels from the right edge.
    const PixelRect list = win::PlaceInParent(Control(main, frmMain::IDC_lvwDemoQue), main);
    EXPECT_EQ(list.width, 470 + 900 - 647);
    EXPECT_EQ(list.height, 362 + 750 - 642);
    EXPECT_EQ(ToRightEdge(main, frmMain::IDC_cmdAdd), 45);
    // Smaller than designed is refused at this DPI too.
    SizeClientTo(main, 300, 300);
    EXPECT_EQ(ClientOf(main), (PixelRect{0, 0, 647, 642}));
    Close(main);
    EXPECT_EQ(Kept("Width"), "6470");
    EXPECT_EQ(Kept("Height"), "6420");
    EXPECT_EQ(Kept("Column Widths"), "3000,1440,1440,1440,1080");
}

}  // namespace
}  // namespace reelwright
