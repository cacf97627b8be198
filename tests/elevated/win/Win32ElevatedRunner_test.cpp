// Starting a program with the "runas" verb and waiting for it: under Wine the
// verb starts the program without a prompt. The stand-in game plays the
// started program here, so the test decides when it ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "elevated/win/Win32ElevatedRunner.h"
#include "support/win/WinTestSupport.h"

namespace reelwright {
namespace {

using namespace reelwright::test;
using namespace std::chrono_literals;

struct OwnerWindow {
    OwnerWindow()
        : window(::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr)) {}
    UniqueWindow window;
};

TEST(Win32ElevatedRunner, WaitsForTheProgramWithTheOwnerDisabledAndMessagesPumped) {
    GameFolder game;
    OwnerWindow owner;
    ASSERT_TRUE(owner.window);
    win::Win32ElevatedRunner runner(owner.window.get());

    std::atomic<bool> disabledWhileRunning{false}, pumped{false}, closed{false};
    std::thread watcher([&] {
        const auto end = std::chrono::steady_clock::now() + 15s;
        HWND started = nullptr;
        while (!(started = ::FindWindowW(L"StandInGame", nullptr)) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(10ms);
        if (!started) return;
        disabledWhileRunning = !::IsWindowEnabled(owner.window.get());
        // Answered only while the waiting thread dispatches its messages.
        DWORD_PTR result = 0;
        pumped = ::SendMessageTimeoutW(owner.window.get(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
        closed = ::PostMessageW(started, WM_CLOSE, 0, 0) != 0;
    });
    const auto exitCode = runner.StartElevated(game.pathUtf8() + "\\SOF2MP.exe", "/copy-script \"C:\\Temp\\rw1.tmp\" \"D:\\Jeux \u00e0 moi\\\\\" \"mod\"");
    watcher.join();

    ASSERT_TRUE(closed);
    EXPECT_EQ(exitCode, std::optional<std::uint32_t>{0});
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(pumped);
    EXPECT_TRUE(::IsWindowEnabled(owner.window.get()));
    const auto records = game.Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].parameters, "/copy-script \"C:\\Temp\\rw1.tmp\" \"D:\\Jeux \u00e0 moi\\\\\" \"mod\"");
    EXPECT_EQ(records[0].directory, game.pathUtf8());
}

TEST(Win32ElevatedRunner, AProgramThatCannotStartGivesNothingAndReenablesTheOwner) {
    OwnerWindow owner;
    win::Win32ElevatedRunner runner(owner.window.get());
    EXPECT_EQ(runner.StartElevated(basAPI::Narrow(BuildFolder()) + "\\NoSuchProgram.exe", "/copy-script"),
              std::nullopt);
    EXPECT_TRUE(::IsWindowEnabled(owner.window.get()));
}

}  // namespace
}  // namespace reelwright
