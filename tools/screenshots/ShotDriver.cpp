// Drives the running Reelwright.exe from outside, as a user would, to the
// windows that the user's guide shows, and tells the caller where each one is
// on the screen so that it can take the picture.
//
//   ReelwrightShots.exe <Reelwright.exe> <game folder> <demo> <demo> <demo>
//
// The demos are full paths below the game folder. The driver stores the game
// folder as the program's only setting, starts the program, and for every
// picture writes one line to its standard output:
//   SHOT <name> <left> <top> <width> <height>
// then waits for one line on its standard input (the picture has been taken)
// before it goes on. It ends with "DONE", or with "ERROR <what>" and exit
// code 1. Each window is moved beside the main window first, so that no window
// lies wholly inside another one. The main window is made wide enough to show
// every column of the queue, as a user would drag its border.
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "about/win/frmAbout.h"
#include "app/win/RegistrySettingsStore.h"
#include "app/win/frmDemos.h"
#include "app/win/frmMain.h"
#include "core/AppInfo.h"
#include "core/win/basAPI.h"
#include "prefs/win/frmProperties.h"

namespace {

using namespace std::chrono_literals;
using reelwright::frmAbout;
using reelwright::frmMain;
using reelwright::frmProperties;

// Where the windows are put: the main window at the top left, every other
// window to its right, clear of it.
constexpr int kMargin = 24;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

struct WindowSearch {
    const wchar_t* className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM state) {
    auto& search = *reinterpret_cast<WindowSearch*>(state);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[256]{};
    ::GetClassNameW(window, className, 256);
    if (owner == search.processId && ::IsWindowVisible(window) && std::wstring(className) == search.className) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(const wchar_t* className, DWORD processId) {
    WindowSearch search{className, processId, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const wchar_t* className, DWORD processId) {
    HWND found = nullptr;
    if (!WaitUntil([&] { return (found = FindWindowOf(className, processId)) != nullptr; }))
        Fail("no window of class " + basAPI::Narrow(className) + " appeared");
    return found;
}

// Lets the program's thread handle everything queued for it so far.
void Settle(HWND window) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);
}

void MoveTo(HWND window, int left, int top) {
    ::SetWindowPos(window, HWND_TOP, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    Settle(window);
}

// Makes the main window wider by as much as the queue's columns need to be
// in view together, and a little more so that no sideways scroll bar is left.
void WidenToShowEveryColumn(HWND main, HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    int needed = 0;
    for (int column = 0; column < columns; ++column)
        needed += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
    RECT inList{}, place{};
    ::GetClientRect(list, &inList);
    ::GetWindowRect(main, &place);
    const int missing = needed + 8 - inList.right;
    if (missing <= 0) return;
    ::SetWindowPos(main, nullptr, 0, 0, place.right - place.left + missing, place.bottom - place.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(main);
}

// Paints the whole window now and reports it to the caller; returns when the
// caller has taken the picture.
void Shoot(const char* name, HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(window);
    RECT place{};
    ::GetWindowRect(window, &place);
    std::printf("SHOT %s %ld %ld %ld %ld\n", name, place.left, place.top, place.right - place.left,
                place.bottom - place.top);
    std::fflush(stdout);
    char answer[64];
    if (!std::fgets(answer, sizeof answer, stdin)) Fail("the caller stopped answering");
}

// The program started with its output kept away from ours.
class Program {
public:
    Program(const std::wstring& path) {
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &started))
            Fail("Reelwright.exe could not be started");
        ::CloseHandle(started.hThread);
        process_.reset(started.hProcess);
        id_ = started.dwProcessId;
    }
    ~Program() {
        if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 1);
    }
    DWORD id() const { return id_; }
    bool WaitForExit() { return ::WaitForSingleObject(process_.get(), 15000) == WAIT_OBJECT_0; }

private:
    basAPI::UniqueHandle process_;
    DWORD id_ = 0;
};

HWND FileNameBox(HWND dialog) {
    if (HWND edit = ::GetDlgItem(dialog, edt1)) return edit;
    HWND combo = ::GetDlgItem(dialog, cmb13);
    HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    return edit ? edit : combo;
}

// Adds one demo with the program's own open-file dialog, typing its path.
void AddDemo(HWND main, DWORD processId, const std::wstring& path) {
    ::PostMessageW(main, WM_COMMAND, frmMain::IDC_cmdAdd, 0);
    HWND dialog = WaitForWindow(L"#32770", processId);
    ::SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitUntil([&] { return !::IsWindow(dialog); })) Fail("the open-file dialog did not close");
}

// A click with the left mouse button at a point of the control's client area.
void Click(HWND control, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::PostMessageW(control, WM_LBUTTONUP, 0, where);
}

// A click with the mouse itself: Wine's column headers take no click sent as
// messages.
void MouseClick(HWND control, POINT at) {
    ::ClientToScreen(control, &at);
    ::SetForegroundWindow(::GetAncestor(control, GA_ROOT));
    if (!::SetCursorPos(at.x, at.y)) Fail("the mouse could not be moved");
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (::SendInput(2, inputs, sizeof(INPUT)) != 2) Fail("the mouse click could not be sent");
}

// Memory in the program's process, for the messages of common controls that
// take a pointer: the control reads and writes it in its own process.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, std::size_t size)
        : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)) {
        if (!process_) Fail("the program's memory cannot be reached");
        address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_) Fail("no memory in the program for a control's answer");
    }
    ~RemoteBuffer() { ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    LPARAM Address(std::size_t offset = 0) const {
        return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
    }
    void Write(const void* bytes, std::size_t size, std::size_t offset = 0) const {
        if (!::WriteProcessMemory(process_.get(), static_cast<char*>(address_) + offset, bytes, size, nullptr))
            Fail("the program's memory could not be written");
    }
    void Read(void* bytes, std::size_t size, std::size_t offset = 0) const {
        if (!::ReadProcessMemory(process_.get(), static_cast<char*>(address_) + offset, bytes, size, nullptr))
            Fail("the program's memory could not be read");
    }

private:
    basAPI::UniqueHandle process_;
    void* address_ = nullptr;
};

// The centre of an item of a control in another process, whose rectangle
// `message` (TCM_GETITEMRECT, HDM_GETITEMRECT) gives.
POINT ItemCentre(HWND control, DWORD processId, UINT message, int item) {
    const RemoteBuffer remote(processId, sizeof(RECT));
    RECT rect{};
    if (!::SendMessageW(control, message, item, remote.Address())) Fail("an item of a control has no rectangle");
    remote.Read(&rect, sizeof rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

int HeaderItemFormat(HWND header, DWORD processId, int column) {
    const RemoteBuffer remote(processId, sizeof(HDITEMW));
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    remote.Write(&item, sizeof item);
    if (!::SendMessageW(header, HDM_GETITEMW, column, remote.Address())) Fail("a column header could not be read");
    remote.Read(&item, sizeof item);
    return item.fmt;
}

std::wstring CellText(HWND list, DWORD processId, int row, int column) {
    constexpr int kLength = 260;
    const RemoteBuffer remote(processId, sizeof(LVITEMW) + kLength * sizeof(wchar_t));
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote.Address(sizeof item));
    item.cchTextMax = kLength;
    remote.Write(&item, sizeof item);
    const auto length = ::SendMessageW(list, LVM_GETITEMTEXTW, row, remote.Address());
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0) remote.Read(text.data(), text.size() * sizeof(wchar_t), sizeof item);
    return text;
}

void Run(const std::vector<std::wstring>& arguments) {
    const std::wstring& program = arguments[0];
    const std::wstring& gameFolder = arguments[1];
    const std::vector<std::wstring> demos(arguments.begin() + 2, arguments.end());

    // A user who has set the game folder and left every other setting as it
    // comes, so that the pictures show the defaults.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, reelwright::win::RegistrySettingsStore::kRootPath);
    reelwright::win::RegistrySettingsStore().SaveSetting("Settings", "SOF2 Path",
                                                         basAPI::Narrow(gameFolder));

    Program reelwright(program);
    HWND main = WaitForWindow(frmMain::kClassName, reelwright.id());
    MoveTo(main, kMargin, kMargin);
    HWND list = ::GetDlgItem(main, frmMain::IDC_lvwDemoQue);
    WidenToShowEveryColumn(main, list);
    RECT mainPlace{};
    ::GetWindowRect(main, &mainPlace);
    const int besideMain = mainPlace.right + kMargin;

    for (const std::wstring& demo : demos) AddDemo(main, reelwright.id(), demo);
    const auto queued = static_cast<LRESULT>(demos.size());
    if (!WaitUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == queued; }))
        Fail("the demos did not reach the queue");
    // The details are read in the background; the pictures show them read.
    constexpr int kMapColumn = 3;
    constexpr int kLengthColumn = 4;
    if (!WaitUntil([&] {
            for (int row = 0; row < static_cast<int>(queued); ++row)
                if (CellText(list, reelwright.id(), row, kMapColumn).empty()) return false;
            return true;
        }, 30s))
        Fail("the demos' details did not arrive");
    Shoot("main-window", main);

    // Sorted by length.
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    MouseClick(header, ItemCentre(header, reelwright.id(), HDM_GETITEMRECT, kLengthColumn));
    if (!WaitUntil([&] { return (HeaderItemFormat(header, reelwright.id(), kLengthColumn) & HDF_SORTUP) != 0; }))
        Fail("a click on the Length header did not sort the queue");
    Shoot("main-window-columns", main);

    ::PostMessageW(main, WM_COMMAND, frmMain::IDM_mnuProperties, 0);
    HWND properties = WaitForWindow(frmProperties::kClassName, reelwright.id());
    MoveTo(properties, besideMain, kMargin);
    Shoot("properties-options", properties);
    HWND tabs = ::GetDlgItem(properties, frmProperties::IDC_tabPreferences);
    HWND keysPage = ::GetDlgItem(properties, frmProperties::IDC_fmePreferences1);
    Click(tabs, ItemCentre(tabs, reelwright.id(), TCM_GETITEMRECT, 1));
    if (!WaitUntil([&] { return ::IsWindowVisible(keysPage) != FALSE; })) Fail("the Demo Keys tab did not open");
    Shoot("properties-keys", properties);
    Click(::GetDlgItem(properties, frmProperties::IDC_cmdOk), {4, 4});
    if (!WaitUntil([&] { return !::IsWindow(properties) && ::IsWindowEnabled(main); }))
        Fail("the properties dialog did not close");

    ::PostMessageW(main, WM_COMMAND, frmMain::IDM_mnuAbout, 0);
    HWND about = WaitForWindow(frmAbout::kClassName, reelwright.id());
    MoveTo(about, besideMain, kMargin);
    Shoot("about", about);
    ::PostMessageW(about, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(main); }))
        Fail("the About box did not close");

    // A demo from elsewhere: Add asks whether to copy it into the game folder.
    // Answered No, so that the try-out game folder stays as it is.
    const std::wstring elsewhere = L"C:\\Downloads";
    const std::wstring outside = elsewhere + L"\\match.dm_2004";
    ::CreateDirectoryW(elsewhere.c_str(), nullptr);
    if (!::CopyFileW(demos[0].c_str(), outside.c_str(), FALSE)) Fail("the demo could not be put in C:\\Downloads");
    AddDemo(main, reelwright.id(), outside);
    HWND question = WaitForWindow(L"#32770", reelwright.id());
    MoveTo(question, besideMain, kMargin);
    Shoot("copy-demo", question);
    ::PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    if (!WaitUntil([&] { return !::IsWindow(question); })) Fail("the copy question did not close");
    HWND refusal = WaitForWindow(L"#32770", reelwright.id());
    ::PostMessageW(refusal, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitUntil([&] { return !::IsWindow(refusal) && ::IsWindowEnabled(main); }))
        Fail("the refusal did not close");
    ::DeleteFileW(outside.c_str());

    // The demo browser, with every demo's details read.
    ::PostMessageW(main, WM_COMMAND, frmMain::IDM_mnuBrowseDemos, 0);
    HWND browser = WaitForWindow(reelwright::frmDemos::kClassName, reelwright.id());
    MoveTo(browser, besideMain / 2, kMargin * 4);
    HWND demoList = ::GetDlgItem(browser, reelwright::frmDemos::IDC_lvwDemos);
    if (!WaitUntil([&] {
            const auto rows = static_cast<int>(::SendMessageW(demoList, LVM_GETITEMCOUNT, 0, 0));
            if (rows < 4) return false;
            for (int row = 0; row < rows; ++row)
                if (CellText(demoList, reelwright.id(), row, kMapColumn).empty()) return false;
            return true;
        }, 30s))
        Fail("the demo browser did not list the demos with their details");
    Shoot("demos-window", browser);
    ::PostMessageW(browser, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return !::IsWindow(browser); })) Fail("the demo browser did not close");

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    if (!reelwright.WaitForExit()) Fail("Reelwright did not end");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: ReelwrightShots <Reelwright.exe> <game folder> <demo>...\n");
        return 2;
    }
    try {
        Run(std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::printf("ERROR %s\n", error.what());
        std::fflush(stdout);
        return 1;
    }
    std::printf("DONE\n");
    std::fflush(stdout);
    return 0;
}
