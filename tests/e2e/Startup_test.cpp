// Reelwright.exe started as a user would, with its settings placed in the
// registry first.
#include <gtest/gtest.h>

#include <chrono>

#include "app/win/frmMain.h"
#include "app/win/frmSplash.h"
#include "support/win/WinTestSupport.h"
#include "core/Version.h"

namespace reelwright {
namespace {

using namespace test;
using namespace std::chrono_literals;

// Text of a control in another process.
std::wstring ControlText(HWND control) {
    wchar_t buffer[512]{};
    ::SendMessageTimeoutW(control, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    return buffer;
}

struct StartedProgram : ::testing::Test {
    void SetUp() override {
        ClearSettings();
    }
    void TearDown() override { ClearSettings(); }

    void CloseMainWindow(StartedProcess& process) {
        if (HWND main = FindTopWindow(frmMain::kClassName, L"", process.id())) ::PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(process.WaitForExit(10s), 0u);
    }
};

TEST_F(StartedProgram, DemoOnTheCommandLinePlaysInTheGameThenTheMainWindowOpens) {
    GameFolder game;
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    StartedProcess program(ProgramPath(), L"\"" + demo + L"\"");
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(game.WaitForRecords(1));
    const auto records = game.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].parameters,
              "+set fs_basepath \"" + game.pathUtf8() + "\" +set fs_game base\\mp+demo \"duel.dm_2004\"");
    EXPECT_EQ(records[0].directory, game.pathUtf8());
    EXPECT_EQ(records[0].show, SW_SHOWMAXIMIZED);

    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"Reelwright");
    CloseMainWindow(program);
    EXPECT_EQ(game.Records().size(), 1u);
}

TEST_F(StartedProgram, DemoOutsideTheGameFolderShowsTheErrorAndStartsNothing) {
    GameFolder game;
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    StartedProcess program(ProgramPath(), L"\"C:\\elsewhere\\demos\\a.dm_2004\"");
    HWND box = WaitForWindow(L"#32770", program.id());
    ASSERT_NE(box, nullptr);
    const DialogSnapshot shown = ReadDialog(box);
    EXPECT_EQ(shown.title, L"Reelwright - Error playing demo.");
    EXPECT_EQ(shown.text,
              L"You must have the demo running the appropriate folder.\r\n\r\nBy default this will be your "
              L"base/mp/demos folder.");
    EXPECT_NE(shown.icon, L"none");
    EXPECT_EQ(shown.buttons, std::vector<int>{IDOK});
    // The main window is not seen before the box is answered.
    EXPECT_EQ(FindTopWindow(frmMain::kClassName, L"", program.id()), nullptr);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);

    ASSERT_NE(WaitForWindow(frmMain::kClassName, program.id()), nullptr);
    CloseMainWindow(program);
    EXPECT_TRUE(game.Records().empty());
}

TEST_F(StartedProgram, AGameFolderHoldingAPlusIsRefusedInDirectPlayback) {
    // The game would run "exec x" from this folder's name.
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"Reelwright tests SOF2+exec x " + std::to_wstring(::GetCurrentProcessId());
    {
        GameFolder game(folder);
        const std::wstring demo = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
        SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
        SeedSetting("Settings", "Load Splash", "0");

        StartedProcess program(ProgramPath(), L"\"" + demo + L"\"");
        HWND box = WaitForWindow(L"#32770", program.id());
        ASSERT_NE(box, nullptr);
        const DialogSnapshot shown = ReadDialog(box);
        EXPECT_EQ(shown.title, L"Reelwright - Error playing demo.");
        EXPECT_EQ(shown.text, L"Your SOF2 folder holds a \"+\", at which the game splits its command line, so the "
                              L"game was not started:\r\n\r\n" +
                                  folder +
                                  L"\r\n\r\nMove or rename the game's folder so that its path holds no \"+\" or "
                                  L"double quote, then locate it again with File > Locate SOF2.exe File.");
        EXPECT_NE(shown.icon, L"none");
        EXPECT_EQ(shown.buttons, std::vector<int>{IDOK});
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);

        ASSERT_NE(WaitForWindow(frmMain::kClassName, program.id()), nullptr);
        CloseMainWindow(program);
        EXPECT_TRUE(game.Records().empty());
    }
    ::RemoveDirectoryW(folder.c_str());
}

TEST_F(StartedProgram, SecondInstanceEndsWithoutShowingAnything) {
    GameFolder game;
    const std::wstring demo = game.AddFile(L"base\\mp\\demos\\duel.dm_2004");
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");

    StartedProcess first(ProgramPath(), L"");
    ASSERT_NE(WaitForWindow(frmMain::kClassName, first.id()), nullptr);

    StartedProcess second(ProgramPath(), L"\"" + demo + L"\"");
    ASSERT_TRUE(second.Started());
    bool showedWindow = false;
    std::optional<DWORD> exitCode;
    WaitUntil(
        [&] {
            for (const wchar_t* name : {frmMain::kClassName, frmSplash::kClassName, L"#32770"})
                if (FindTopWindow(name, L"", second.id())) showedWindow = true;
            exitCode = second.WaitForExit(0ms);
            return exitCode.has_value();
        },
        15s);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(showedWindow);
    // The demo named to the second instance is not played.
    EXPECT_TRUE(game.Records().empty());
    CloseMainWindow(first);
}

TEST_F(StartedProgram, SplashShowsTheVersionThenHandsOverToTheMainWindow) {
    GameFolder game;
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());  // "Load Splash" missing: the splash shows

    const auto start = std::chrono::steady_clock::now();
    StartedProcess program(ProgramPath(), L"");
    HWND splash = WaitForWindow(frmSplash::kClassName, program.id());
    ASSERT_NE(splash, nullptr);
    const auto splashSeen = std::chrono::steady_clock::now();
    EXPECT_EQ(ControlText(::GetDlgItem(splash, frmSplash::IDC_lblVersion)), L" Version:   " REELWRIGHT_PRODUCTVERSION_TEXT);
    const LONG style = ::GetWindowLongW(splash, GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(::GetWindowLongW(splash, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT client{};
    ::GetClientRect(splash, &client);
    EXPECT_EQ(client.right, 350);
    EXPECT_EQ(client.bottom, 175);
    EXPECT_EQ(win::PlaceInParent(::GetDlgItem(splash, frmSplash::IDC_lblVersion), splash),
              (PixelRect{192, 136, 153, 17}));
    EXPECT_EQ(win::PlaceInParent(::GetDlgItem(splash, frmSplash::IDC_imgSplash), splash),
              (PixelRect{0, 0, 350, 175}));
    // Centred on the screen.
    RECT place{};
    ::GetWindowRect(splash, &place);
    EXPECT_NEAR((place.left + place.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((place.top + place.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(FindTopWindow(frmMain::kClassName, L"", program.id()), nullptr);

    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);
    const auto mainSeen = std::chrono::steady_clock::now();
    EXPECT_FALSE(::IsWindow(splash) && ::IsWindowVisible(splash));
    // About two seconds after the splash was loaded: never sooner, and the
    // upper bound is only a generous time-out for the hand-over.
    EXPECT_GE(mainSeen - start, 1900ms);
    EXPECT_LE(mainSeen - splashSeen, 10000ms);
    CloseMainWindow(program);
}

TEST_F(StartedProgram, LoadSplashZeroOpensTheMainWindowAtOnce) {
    GameFolder game;
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");
    StartedProcess program(ProgramPath(), L"");
    bool splashSeen = false;
    HWND main = nullptr;
    WaitUntil(
        [&] {
            if (FindTopWindow(frmSplash::kClassName, L"", program.id())) splashSeen = true;
            return (main = FindTopWindow(frmMain::kClassName, L"", program.id())) != nullptr;
        },
        15s);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(splashSeen);
    CloseMainWindow(program);
}

// Wine's system DPI comes from LogPixels when a program starts.
struct ScaledDisplay : StartedProgram {
    void SetUp() override {
        StartedProgram::SetUp();
        basAPI::UniqueRegKey desktop;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, desktop.put(), nullptr),
                  ERROR_SUCCESS);
        DWORD size = sizeof(previous_);
        hadValue_ = ::RegQueryValueExW(desktop.get(), L"LogPixels", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(&previous_), &size) == ERROR_SUCCESS;
        const DWORD dpi = 144;
        ::RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }
    void TearDown() override {
        basAPI::UniqueRegKey desktop;
        ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_ALL_ACCESS, desktop.put());
        if (hadValue_)
            ::RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                             sizeof(previous_));
        else
            ::RegDeleteValueW(desktop.get(), L"LogPixels");
        StartedProgram::TearDown();
    }
    DWORD previous_ = 96;
    bool hadValue_ = false;
};

TEST_F(ScaledDisplay, MainWindowPlacesAreConvertedAtTheWindowsDpi) {
    GameFolder game;
    SeedSetting("Settings", "SOF2 Path", game.pathUtf8());
    SeedSetting("Settings", "Load Splash", "0");
    StartedProcess program(ProgramPath(), L"");
    HWND main = WaitForWindow(frmMain::kClassName, program.id());
    ASSERT_NE(main, nullptr);

    RECT client{};
    ::GetClientRect(main, &client);
    EXPECT_EQ(client.right, 647);   // 6465 twips at 144 DPI
    EXPECT_EQ(client.bottom, 642);  // 6420 twips
    const PixelRect frame = win::PlaceInParent(::GetDlgItem(main, frmMain::IDC_fmeReelwright), main);
    EXPECT_EQ(frame, (PixelRect{24, 24, 590, 602}));
    auto inFrame = [&](int id) {
        const PixelRect place = win::PlaceInParent(::GetDlgItem(main, id), main);
        return PixelRect{place.left - frame.left, place.top - frame.top, place.width, place.height};
    };
    EXPECT_EQ(inFrame(frmMain::IDC_lblQueDemos), (PixelRect{12, 36, 206, 26}));
    EXPECT_EQ(inFrame(frmMain::IDC_lvwDemoQue), (PixelRect{12, 72, 470, 362}));
    EXPECT_EQ(inFrame(frmMain::IDC_cmdAdd), (PixelRect{492, 72, 86, 38}));
    EXPECT_EQ(inFrame(frmMain::IDC_cmdRemove), (PixelRect{492, 120, 86, 38}));
    EXPECT_EQ(inFrame(frmMain::IDC_cmdClear), (PixelRect{492, 168, 86, 38}));
    EXPECT_EQ(inFrame(frmMain::IDC_lblOptionalParams), (PixelRect{12, 456, 170, 26}));
    EXPECT_EQ(inFrame(frmMain::IDC_txtOptionalParams), (PixelRect{12, 492, 566, 38}));
    EXPECT_EQ(inFrame(frmMain::IDC_cmdLaunch), (PixelRect{228, 552, 110, 38}));
    CloseMainWindow(program);
}

}  // namespace
}  // namespace reelwright
