#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app/Startup.h"
#include "app/win/basStartup.h"
#include "app/win/frmMain.h"
#include "app/win/frmSplash.h"
#include "core/AppInfo.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace test;

// Throws from the main window's handler of the message the test names.
UINT g_failingMainMessage = 0;
void ThrowOnMainWindow(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == g_failingMainMessage && ClassOf(window) == frmMain::kClassName)
        throw std::runtime_error("The main window failed on purpose.");
}

// The whole start-up in this process, directly and after the splash: a main
// window that fails while it is made or shown is reported in one stop box,
// and the program ends, its single-instance mutex released and no window
// left behind.
TEST(StartupFailure, AMainWindowThatFailsToShowEndsTheProgramAfterOneBox) {
    const struct {
        const char* loadSplash;
        UINT failingMessage;
    } cases[] = {{"0", WM_CREATE}, {"1", WM_SHOWWINDOW}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("Load Splash ") + c.loadSplash);
        ClearSettings();
        SeedSetting("Settings", "SOF2 Path", "C:\\Games\\SOF2");
        SeedSetting("Settings", "Load Splash", c.loadSplash);
        g_failingMainMessage = c.failingMessage;
        win::SetMessageTestHook(&ThrowOnMainWindow);

        // Answers every box of this process until the start-up returns; a
        // program that went on without a window is ended after a while.
        const DWORD thread = ::GetCurrentThreadId();
        std::atomic<bool> ended{false};
        std::thread watchdog([&] {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!ended && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!ended) ::PostThreadMessageW(thread, WM_QUIT, 99, 0);
        });
        DialogAnswerer answering({{L"", DialogAnswerer::Click(IDOK), true}});
        const int exitCode = basStartup::Main(L"");
        ended = true;
        watchdog.join();
        const std::vector<DialogSnapshot> boxes = answering.Seen();
        win::SetMessageTestHook(nullptr);

        EXPECT_EQ(exitCode, 1);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, L"Reelwright");
        EXPECT_EQ(boxes[0].icon, L"stop");
        EXPECT_NE(boxes[0].text.find(L"The main window failed on purpose."), std::wstring::npos)
            << basAPI::Narrow(boxes[0].text);
        EXPECT_NE(boxes[0].text.find(L"The program ends."), std::wstring::npos);
        EXPECT_EQ(FindTopWindow(frmMain::kClassName, L"", ::GetCurrentProcessId()), nullptr);
        EXPECT_EQ(FindTopWindow(frmSplash::kClassName, L"", ::GetCurrentProcessId()), nullptr);
        basAPI::UniqueHandle mutex(
            ::CreateMutexW(nullptr, FALSE, basAPI::Widen(SingleInstanceMutexName(AppKey())).c_str()));
        EXPECT_NE(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    }
    ClearSettings();
}

// The program's folder may be one that other programs of the user can write
// (the copy that is elevated lies in the user's temporary folder). A DLL put
// there under the name of one that is loaded by name once windows exist is
// loaded by a program beside it (the stand-in game) but not by Reelwright,
// which keeps loading to the system folder from its first line on. Wine
// prefers its own DLLs to one beside the program unless told otherwise, as
// the override here does; Windows needs no such word.
TEST(KeepDllsToTheSystemFolder, ADllBesideTheProgramIsNotLoadedOnceItRuns) {
    if (!RunningUnderWine()) GTEST_SKIP() << "the DLL's name and its override are Wine's";
    GameFolder folder;
    const std::wstring program = folder.path() + L"\\Reelwright.exe";
    const std::wstring planted = folder.path() + L"\\uxtheme.dll";
    const std::wstring loaded = planted + L".loaded";
    ASSERT_TRUE(::CopyFileW(ProgramPath().c_str(), program.c_str(), TRUE));
    ASSERT_TRUE(::CopyFileW((BuildFolder() + L"\\PlantedDll.dll").c_str(), planted.c_str(), TRUE));
    ClearSettings();
    SeedSetting("Settings", "Load Splash", "0");
    SeedSetting("Settings", "SOF2 Path", folder.pathUtf8());

    wchar_t before[1024]{};
    const bool hadOverrides = ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", before, 1024) > 0;
    ::SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"uxtheme=n,b");
    bool standInLoadedIt = false;
    {
        StartedProcess game(folder.path() + L"\\SOF2MP.exe", L"+set x 1");
        const HWND window = WaitForWindow(L"StandInGame", game.id());
        standInLoadedIt = WaitUntil([&] { return ::GetFileAttributesW(loaded.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                    std::chrono::seconds(5));
        if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
        if (!game.WaitForExit(std::chrono::seconds(10))) TerminateAndWait(game.id());
    }
    ::DeleteFileW(loaded.c_str());
    {
        StartedProcess running(program, L"");
        const HWND main = WaitForWindow(frmMain::kClassName, running.id());
        EXPECT_NE(main, nullptr);
        // Its windows are made and painted: what they load has been loaded.
        if (main) {
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
            ::PostMessageW(main, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(running.WaitForExit(std::chrono::seconds(10)), std::optional<DWORD>{0});
    }
    ::SetEnvironmentVariableW(L"WINEDLLOVERRIDES", hadOverrides ? before : nullptr);
    ClearSettings();

    EXPECT_TRUE(standInLoadedIt) << "the planted DLL was not loaded even without the call: the test shows nothing";
    EXPECT_EQ(::GetFileAttributesW(loaded.c_str()), INVALID_FILE_ATTRIBUTES) << "Reelwright loaded the planted DLL";
}

}  // namespace
}  // namespace reelwright
