#include "elevated/win/Win32ElevatedRunner.h"

#include "core/win/ShellStart.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

namespace {

// Waits for the process, dispatching this thread's messages meanwhile. A quit
// request that arrives is passed on once the wait is over.
void WaitPumpingMessages(HANDLE process) {
    bool quit = false;
    WPARAM quitCode = 0;
    while (true) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) break;
        if (woken != WAIT_OBJECT_0 + 1) {
            ::WaitForSingleObject(process, INFINITE);
            break;
        }
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                continue;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace

std::optional<std::uint32_t> Win32ElevatedRunner::StartElevated(const std::string& programPath,
                                                                 const std::string& parameters) {
    const std::wstring program = basAPI::Widen(programPath);
    const std::wstring arguments = basAPI::Widen(parameters);
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));

    // Disabled from before the prompt until the helper has ended, so that
    // Launch cannot be pressed again meanwhile.
    const bool wasEnabled = owner_ && !::EnableWindow(owner_, FALSE);

    const basAPI::UniqueHandle process =
        StartThroughShell(owner_, L"runas", program, arguments, folder, SW_HIDE, true).process;

    std::optional<std::uint32_t> result;
    if (process) {
        WaitPumpingMessages(process.get());
        DWORD exitCode = 0;
        if (::GetExitCodeProcess(process.get(), &exitCode)) result = exitCode;
    }

    if (wasEnabled) {
        ::EnableWindow(owner_, TRUE);
        ::SetForegroundWindow(owner_);
    }
    return result;
}

}  // namespace reelwright::win
