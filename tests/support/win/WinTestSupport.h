// Helpers for the tests that run under Wine: the real registry, windows found
// and driven by messages, a game folder with the stand-in game, and the
// stand-in game's log.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/AppServices.h"
#include "app/win/RegistrySettingsStore.h"
#include "app/win/Win32Prompts.h"
#include "core/win/BaseWindow.h"
#include "core/win/Controls.h"
#include "core/win/Win32FileSystem.h"
#include "core/win/basAPI.h"
#include "elevated/ElevatedProgramCopy.h"
#include "elevated/win/OwnProgramFile.h"
#include "elevated/win/Win32ElevatedRunner.h"
#include "session/win/Win32SessionPlatform.h"
#include "shell/win/Win32ClassesRegistry.h"
#include "shell/win/Win32GameShell.h"
#include "support/ConsoleInterpreter.h"
#include "support/Fakes.h"

namespace reelwright::win {
// Sets the hook that every window procedure calls before its own handler
// (null: none). Defined with the window base, declared only here: the
// program has no way to set it.
void SetMessageTestHook(MessageTestHook hook);
}  // namespace reelwright::win

namespace reelwright::test {

// Owns a window that a test made.
using UniqueWindow = basAPI::Unique<HWND, ::DestroyWindow>;

// The folder of the running test program; Reelwright.exe and the stand-in
// SOF2MP.exe are built into the same folder.
std::wstring BuildFolder();

// Removes every setting of the program (HKCU\Software\Reelwright).
void ClearSettings();
// Stores a setting under the current AppKey, as a user's earlier run would have.
void SeedSetting(const std::string& section, const std::string& key, const std::string& value);
// Reads a setting under the current AppKey; nothing when it is missing.
std::optional<std::string> ReadSetting(const std::string& section, const std::string& key);

// Pumps this thread's messages until `condition` holds or `timeout` passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A window's client area, at 0, 0.
PixelRect ClientOf(HWND window);
// Sizes the window (of this process or another) so that its client area is
// `width` x `height` pixels, as the user does by dragging its border: the
// system keeps it within the window's smallest and largest sizes.
void SizeClientTo(HWND window, int width, int height);

// Sends WM_DPICHANGED as the system does when the window moves to a monitor
// of `dpi`, with a suggested place a little to the right and lower; returns
// that place.
RECT SendDpiChanged(HWND window, int dpi);

// Pumps messages for the given time (only to let queued messages through).
void PumpMessages(std::chrono::milliseconds duration = std::chrono::milliseconds(0));

// The first visible top-level window of `className` (and `title`, when given)
// that belongs to process `processId` (any process when 0) and that `accept`
// accepts (when given). The one search the waits and the answerer share.
HWND FindTopWindow(const std::wstring& className, const std::wstring& title = L"", DWORD processId = 0,
                   const std::function<bool(HWND)>& accept = {});

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// A game folder laid out in a fresh temporary folder whose name holds blanks
// and non-ASCII letters: the stand-in SOF2MP.exe, base\mp\demos and
// mymod\demos. Removed at destruction, after the stand-in games started from
// it have been ended (and no other process).
class GameFolder {
public:
    GameFolder();
    // The same layout right in `folder` (a drive root is given as "R:");
    // its contents are removed at destruction.
    explicit GameFolder(const std::wstring& folder);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::string pathUtf8() const { return basAPI::Narrow(path_); }

    // Creates an empty file (and its folders) at `relative` below the game folder.
    std::wstring AddFile(const std::wstring& relative, const std::string& content = "");
    // Copies the stand-in game to `relative` (a folder below the game folder).
    void AddGameExecutable(const std::wstring& relativeFolder);

    struct Record {
        std::string commandLine, parameters, directory;
        int show = -1;  // the window show code the game was started with
        // What the stand-in's console did with the command line: each exec,
        // missing file, buffer overflow and fatal error, in order.
        std::vector<std::string> console;
        // The demo variables it defined: demo1, demo2, ... in order, "name value".
        std::vector<std::string> demoVariables;
    };
    // The stand-in game's records, in start order.
    std::vector<Record> Records() const;
    // Waits until at least `count` records are there.
    bool WaitForRecords(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(15)) const;
    // Ends the stand-in games running from this folder, and waits for them.
    void EndStandInGames() const;

private:
    std::wstring root_;
    std::wstring path_;
    bool keepRoot_ = false;
};

// The real services, with scripted answers in place of the real prompts
// unless `realPrompts` is asked for.
struct RealServices {
    win::RegistrySettingsStore store;
    FakePrompts fakePrompts;
    win::Win32Prompts realPrompts;
    win::Win32FileSystem files;
    win::Win32GameShell shell;
    win::Win32ClassesRegistry classes;
    ProgramLocation location{basAPI::Narrow(BuildFolder()), "Reelwright"};
    win::Win32ElevatedRunner starter;
    ElevatedProgramCopy elevation{files, starter, win::ReadOwnProgramFile, "Reelwright.exe"};
    win::Win32SessionPlatform sessions{files, location.ProgramPath()};

    AppServices Services(bool useRealPrompts = false) {
        return AppServices{store, useRealPrompts ? static_cast<UserPrompts&>(realPrompts) : fakePrompts, files, shell,
                           classes, elevation, location};
    }
};

// Which of the system's icons a window shows: "information", "question",
// "exclamation", "stop", "other" (an icon of its own) or "none". For a dialog
// box, the icon of its icon control (id 0x14 on Windows, 1088 in Wine, or
// else any static control showing an icon); for a static control, its own.
std::wstring IconOf(HWND window);

// What a dialog box or popup menu showed.
struct DialogSnapshot {
    struct MenuItem {
        std::wstring caption;  // as the menu holds it, "&" and shortcut included
        bool enabled = false;
        bool operator==(const MenuItem&) const = default;
    };
    std::wstring title;
    std::wstring text;                 // a message box's text
    std::wstring icon;                 // as IconOf gives it
    std::vector<int> buttons;          // ids of the standard buttons present (IDOK, IDCANCEL, IDYES, IDNO, ...)
    HWND owner = nullptr;
    std::vector<MenuItem> menuItems;   // a popup menu's items
};

// Reads a dialog box ("#32770") or a popup menu ("#32768").
DialogSnapshot ReadDialog(HWND window);

// Answers the dialog boxes and popup menus of this process on a thread of its
// own while the test's thread shows them, as a user would. Each step waits
// for a visible window of its class whose title is the step's (any title when
// empty), reads it and answers it; the steps come in order, each given up
// after the timeout. A step for every one answers each such window that comes
// after the steps waited for, until Seen() is called.
class DialogAnswerer {
public:
    using Answer = std::function<void(HWND)>;
    struct Step {
        std::wstring title;
        Answer answer;
        bool everyOne = false;
        std::wstring className = L"#32770";
    };

    explicit DialogAnswerer(std::vector<Step> steps, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // The first dialog box of this process, answered with the button `buttonId`.
    explicit DialogAnswerer(int buttonId) : DialogAnswerer(std::vector<Step>{{L"", Click(buttonId)}}) {}
    // The first popup menu of this process, answered with ChooseMenuItem(caption).
    static std::vector<Step> Menu(std::wstring caption);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Waits for the steps; what the windows answered showed, in the order
    // answered (fewer than the steps when one did not come).
    const std::vector<DialogSnapshot>& Seen();
    // Those of them titled `title`.
    std::vector<DialogSnapshot> Seen(const std::wstring& title);
    // True once every step that is waited for has been answered or given up.
    bool Done() const { return done_; }

    // Presses the button `buttonId`.
    static Answer Click(int buttonId);
    // Chooses the popup menu's item `caption` (as shown: without "&" and
    // without the shortcut after a tab) by its access key; an empty caption
    // closes the menu.
    static Answer ChooseMenuItem(std::wstring caption);
    // Types `text` into an open-file dialog's file name box and presses Open.
    static Answer TypeFileName(std::wstring text);

private:
    void Run(std::chrono::milliseconds timeout);
    void Join();

    std::vector<Step> steps_;
    std::vector<DialogSnapshot> seen_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

// An open-file dialog's file name box: an edit of its own, or the edit inside
// its combo box.
HWND FileNameBoxOf(HWND dialog);

// A process started for a test; terminated at destruction if still running.
class StartedProcess {
public:
    // `output`, when given, is the process's standard output and error, and
    // the process inherits every inheritable handle, as from a console.
    StartedProcess(const std::wstring& program, const std::wstring& arguments, const std::wstring& directory = L"",
                   HANDLE output = nullptr);
    ~StartedProcess();
    bool Started() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    // Waits for the process to end; its exit code, or nothing on timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(15));

private:
    basAPI::UniqueHandle process_;
    DWORD id_ = 0;
};

// True when this process runs under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

// The Windows tests rewrite the user's Reelwright settings and the file
// association of the machine they run on. Outside Wine they run only when
// REELWRIGHT_TESTS_MAY_CHANGE_THIS_MACHINE=1 is set; otherwise this prints why
// and returns false.
bool TestsMayChangeThisMachine();

// Removes ".dm_2004" and "SOF2_Demo_File", with everything below them, from
// both HKLM\Software\Classes (HKEY_CLASSES_ROOT under Wine) and
// HKCU\Software\Classes.
void RemoveAssociationKeys();

// The first visible dialog box of process `processId` other than `except`
// whose text contains `textPart`; waits up to `timeout` for it.
HWND WaitForDialog(DWORD processId, const std::wstring& textPart = L"", HWND except = nullptr,
                   std::chrono::milliseconds timeout = std::chrono::seconds(15));

// Adds one demo through the open-file dialog of the main window `main` of
// process `processId` (Reelwright.exe started by the test): presses Add, types
// `path` into the dialog's file name box and presses Open. False when the
// dialog did not come up or did not close.
bool AddDemoWithDialog(HWND main, DWORD processId, const std::wstring& path);

// The same for many demos of one folder: opens `folder` in the dialog, then
// types the names, each in double quotes, and presses Open.
bool AddDemosWithDialog(HWND main, DWORD processId, const std::wstring& folder, const std::vector<std::wstring>& names);

// A DROPFILES block in this process's memory naming `paths` (wide texts), as
// the shell hands it over with WM_DROPFILES; the receiving window's
// DragFinish frees it.
HDROP MakeDropFiles(const std::vector<std::wstring>& paths);

// The system DPI that programs started from now on see (Wine reads it from
// HKCU\Control Panel\Desktop, value LogPixels, when a program starts), until
// it goes out of scope and the value is put back as it was.
class SystemDpiForNewPrograms {
public:
    explicit SystemDpiForNewPrograms(DWORD dpi);
    ~SystemDpiForNewPrograms();
    SystemDpiForNewPrograms(const SystemDpiForNewPrograms&) = delete;
    SystemDpiForNewPrograms& operator=(const SystemDpiForNewPrograms&) = delete;

private:
    DWORD previous_ = 96;
    bool hadValue_ = false;
};

// Holds keys down in this thread's keyboard state, as GetKeyState sees them
// while a test sends key messages, until it goes out of scope.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE saved_[256]{};
};

// Passes this thread's queued messages through the dialog manager of `dialog`
// (while it exists), as the program's message loop does.
void PumpThroughDialog(HWND dialog);

// The built Reelwright.exe, in the test program's folder.
std::wstring ProgramPath();

// The bytes of a file; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);

// The files of `folder`, as the console model's "exec" reads them.
ConsoleInterpreter::FileSource FilesIn(const std::wstring& folder);

// Waits up to `timeout` for FindTopWindow(className, title, processId); the
// window, or null.
HWND WaitForWindow(const std::wstring& className, DWORD processId, const std::wstring& title = L"",
                   std::chrono::milliseconds timeout = std::chrono::seconds(15));

// The processes started by process `parent` whose program is named
// `exeName` (any letter case), in the order the system lists them.
std::vector<DWORD> ChildProcesses(DWORD parent, const std::wstring& exeName);

// The Reelwright.exe processes that show no window: session watchers waiting
// for a game, or putting a config back.
std::vector<DWORD> SessionWatchers();

// Ends the process with TerminateProcess and waits for it; false when it
// could not be opened or did not end.
bool TerminateAndWait(DWORD processId);

// The user's local application data folder (%LOCALAPPDATA%).
std::wstring LocalAppDataFolder();

// Every file and folder below `folder`, relative to it ("sub\\file"),
// hidden ones included.
std::set<std::wstring> ItemsBelow(const std::wstring& folder, const std::wstring& prefix = L"");

}  // namespace reelwright::test
