#include "app/win/basStartup.h"

#include <commctrl.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/Startup.h"
#include "app/win/RegistrySettingsStore.h"
#include "app/win/Win32Prompts.h"
#include "app/win/frmMain.h"
#include "app/win/frmSplash.h"
#include "core/AppInfo.h"
#include "core/win/BaseWindow.h"
#include "core/win/Win32FileSystem.h"
#include "core/win/basAPI.h"
#include "elevated/ElevatedProgramCopy.h"
#include "elevated/win/OwnProgramFile.h"
#include "elevated/win/Win32ElevatedRunner.h"
#include "session/SessionWatch.h"
#include "session/win/SessionWatcher.h"
#include "session/win/Win32SessionPlatform.h"
#include "shell/win/Win32ClassesRegistry.h"
#include "shell/win/Win32GameShell.h"

namespace basStartup {

namespace {

using namespace reelwright;

// Everything that lives as long as the program: the platform's services,
// built once here for every process mode, and the windows.
class Application {
public:
    explicit Application(std::string commandLineTail)
        : commandLineTail_(std::move(commandLineTail)),
          location_{basAPI::Narrow(basAPI::ProgramFolder()), basAPI::Narrow(basAPI::ProgramBaseName())},
          // The program, started again with rights from a fresh copy of its
          // own bytes, places the script in a game folder that the user
          // cannot write.
          elevation_(files_, starter_, win::ReadOwnProgramFile, location_.baseName + ".exe"),
          // The program itself, started as a watcher, puts the game's config
          // back after a chained session.
          sessions_(files_, location_.ProgramPath()) {}

    // The thread of the recovery ends before anything it uses goes.
    ~Application() {
        if (recovery_.joinable()) recovery_.join();
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The main window, once shown, starts the recovery of the sessions whose
    // games ended while no watcher ran (the machine restarted, the watcher was
    // ended).
    void RecoverOnShow() { recoverOnShow_ = true; }

    AppServices Services() { return AppServices{store_, prompts_, files_, shell_, classes_, elevation_, location_}; }
    const std::string& CommandLineTail() const { return commandLineTail_; }
    FileSystem& Files() { return files_; }
    UserPrompts& Prompts() { return prompts_; }
    SettingsStore& Store() { return store_; }
    SessionPlatform& Sessions() { return sessions_; }

    // Loads and shows the main window; false when the program is to end: its
    // load ended it, or the window failed to show. Such a failure, thrown
    // here or in one of the window's handlers, is reported once and ends the
    // program, so that no process stays behind without a window, holding the
    // single-instance mutex.
    bool ShowMainWindow() {
        std::exception_ptr failure;
        bool shown = false;
        {
            win::WindowExceptionCapture capture;
            try {
                shown = LoadAndShowMainWindow();
            } catch (...) {
                failure = std::current_exception();
            }
            if (!failure) failure = capture.First();
        }
        if (failure) {
            EndAfterFailedStart(failure);
            return false;
        }
        if (!shown) {
            ::PostQuitMessage(0);  // the load ended the program
            return false;
        }
        main_->SetQuitOnDestroy(true);
        // COM for the rest of the run, begun once the window is up: what the
        // user starts (the file dialogs, the shell) finds it ready. What uses
        // COM before (the first-run dialogs, a demo played from the command
        // line, the splash's picture) holds an apartment of its own.
        apartment_.emplace();
        if (recoverOnShow_) StartRecovery();
        return true;
    }

    bool ShowSplash() {
        splash_ = std::make_unique<frmSplash>([this] { ShowMainWindow(); });
        if (!splash_->Load()) return false;
        splash_->Show();
        return true;
    }

    // Keyboard navigation (Tab, arrows, access keys) goes through the dialog
    // manager of whichever top-level window is active.
    int RunMessageLoop() {
        MSG message{};
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (main_ && main_->TranslateShortcut(message)) continue;
            HWND active = ::GetActiveWindow();
            if (active && ::IsDialogMessageW(active, &message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        return static_cast<int>(message.wParam);
    }

private:
    bool LoadAndShowMainWindow() {
        main_ = std::make_unique<frmMain>(Services(), sessions_);
        if (main_->Load(commandLineTail_) == LoadOutcome::EndProgram) return false;
        SetOwner(main_->hwnd());
        main_->Show();
        return true;
    }

    void EndAfterFailedStart(std::exception_ptr failure) {
        SetOwner(nullptr);
        main_.reset();
        const std::wstring text = L"Reelwright could not open its main window:\r\n\r\n" +
                                  win::DescribeException(failure) + L"\r\n\r\nThe program ends.";
        ::MessageBoxW(nullptr, text.c_str(), L"Reelwright", MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TASKMODAL);
        ::PostQuitMessage(1);
    }

    // Off the window's thread, so that nothing it waits for (the journal's
    // lock, a config another process holds) keeps the window from the player;
    // a box it shows is owned by the main window. Launch waits for it before
    // it records a session.
    void StartRecovery() {
        sessions_.Recovery().Begin();
        recovery_ = std::thread([this] {
            RecoverEndedSessions(sessions_, prompts_);
            sessions_.Recovery().End();
        });
    }

    // What the program shows and starts is owned by its main window.
    void SetOwner(HWND owner) {
        prompts_.SetOwner(owner);
        shell_.SetOwner(owner);
        starter_.SetOwner(owner);
        sessions_.SetOwner(owner);
    }

    // Declared first, so that it ends last, after every window.
    std::optional<basAPI::ComApartment> apartment_;
    std::string commandLineTail_;
    ProgramLocation location_;
    win::RegistrySettingsStore store_;
    win::Win32Prompts prompts_;
    win::Win32FileSystem files_;
    win::Win32GameShell shell_;
    win::Win32ClassesRegistry classes_;
    win::Win32ElevatedRunner starter_;
    ElevatedProgramCopy elevation_;
    win::Win32SessionPlatform sessions_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<frmMain> main_;
    bool recoverOnShow_ = false;
    std::thread recovery_;
};

}  // namespace

void KeepDllsToTheSystemFolder() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefaultDllDirectories =
        kernel32 ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                       reinterpret_cast<void*>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")))
                 : nullptr;
    if (!setDefaultDllDirectories || !setDefaultDllDirectories(kSearchSystem32)) ::SetDllDirectoryW(L"");
}

int Main(const std::wstring& commandLineTail) {
    // Held for the whole run: the copy that is elevated is made from it.
    win::HoldOwnProgramFile();

    Application application(basAPI::Narrow(commandLineTail));
    const std::string& tail = application.CommandLineTail();

    // The helper that Launch starts with administrator rights does its one job
    // and ends: no window, and no instance of its own.
    if (const auto exitCode = RunHelperMode(tail, application.Files())) return *exitCode;
    // The watcher that Launch starts for a game waits for it, puts the
    // player's config back and ends: no window, and no instance of its own.
    if (IsWatchSessionCommandLine(tail)) return win::RunSessionWatcher(tail, application.Sessions(), application.Prompts());

    // One instance per version: a second start ends at once without a window.
    basAPI::UniqueHandle instanceMutex(
        ::CreateMutexW(nullptr, TRUE, basAPI::Widen(SingleInstanceMutexName(AppKey())).c_str()));
    const bool anotherInstance = ::GetLastError() == ERROR_ALREADY_EXISTS;

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    // Sessions whose games ended while no watcher ran are put back once the
    // main window is shown; a failure there is reported and the program goes
    // on.
    if (!anotherInstance) application.RecoverOnShow();

    switch (DecideStartup(anotherInstance, application.Store())) {
        case StartupChoice::Exit: return 0;
        case StartupChoice::ShowMainWindow:
            // The loop ends at once on the quit that was posted, with its code.
            if (!application.ShowMainWindow()) return application.RunMessageLoop();
            break;
        case StartupChoice::ShowSplash:
            if (!application.ShowSplash()) return 1;
            break;
    }
    return application.RunMessageLoop();
}

}  // namespace basStartup
