#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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
// (the copy that is elevated lies in the user's temporary folder). A DLL
// there, loaded by name, is found before the program's first call and not
// after it. The DLL lies beside this test program, which runs the program's
// own start-up call; loads by name in this process keep to the system folder
// from then on.
TEST(KeepDllsToTheSystemFolder, ADllBesideTheProgramLoadsBeforeTheCallAndNotAfter) {
    const std::wstring marker = BuildFolder() + L"\\PlantedDll.dll.loaded";
    ::DeleteFileW(marker.c_str());
    HMODULE before = ::LoadLibraryW(L"PlantedDll.dll");
    ASSERT_NE(before, nullptr) << "the DLL beside the program was not found: the test shows nothing";
    EXPECT_NE(::GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(::FreeLibrary(before));
    ASSERT_EQ(::GetModuleHandleW(L"PlantedDll.dll"), nullptr);
    ::DeleteFileW(marker.c_str());

    basStartup::KeepDllsToTheSystemFolder();

    HMODULE after = ::LoadLibraryW(L"PlantedDll.dll");
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
    if (after) ::FreeLibrary(after);
    EXPECT_EQ(::GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileW(marker.c_str());
    // What the program loads by name from the system folder still loads.
    HMODULE system = ::LoadLibraryW(L"version.dll");
    EXPECT_NE(system, nullptr);
    if (system) ::FreeLibrary(system);
}

}  // namespace
}  // namespace reelwright
