#include "support/win/WinTestSupport.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/win/frmMain.h"
#include "core/AppInfo.h"

namespace reelwright::test {

namespace {

std::wstring SettingsPath(const std::string& section) {
    return std::wstring(win::RegistrySettingsStore::kRootPath) + L"\\" + basAPI::Widen(AppKey()) + L"\\" +
           basAPI::Widen(section);
}

void CreateFolders(const std::wstring& path) {
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

void RemoveTree(const std::wstring& path);

// Removes everything inside the folder, and leaves the folder.
void RemoveContents(const std::wstring& path) {
    WIN32_FIND_DATAW found{};
    const basAPI::UniqueFind search(::FindFirstFileW((path + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search.get(), &found));
    }
}

void RemoveTree(const std::wstring& path) {
    RemoveContents(path);
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

std::wstring BuildFolder() { return basAPI::ProgramFolder(); }

void ClearSettings() { ::RegDeleteTreeW(HKEY_CURRENT_USER, win::RegistrySettingsStore::kRootPath); }

void SeedSetting(const std::string& section, const std::string& key, const std::string& value) {
    win::RegistrySettingsStore().SaveSetting(section, key, value);
}

PixelRect ClientOf(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return {0, 0, client.right, client.bottom};
}

void SizeClientTo(HWND window, int width, int height) {
    RECT outer{}, client{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    ::SetWindowPos(window, nullptr, 0, 0, width + (outer.right - outer.left) - client.right,
                   height + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT SendDpiChanged(HWND window, int dpi) {
    RECT suggested{};
    ::GetWindowRect(window, &suggested);
    ::OffsetRect(&suggested, 40, 30);
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

std::optional<std::string> ReadSetting(const std::string& section, const std::string& key) {
    basAPI::UniqueRegKey sectionKey;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, SettingsPath(section).c_str(), 0, KEY_QUERY_VALUE, sectionKey.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[4096]{};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(sectionKey.get(), basAPI::Widen(key).c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return basAPI::Narrow(buffer);
}

void PumpMessages(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        if (std::chrono::steady_clock::now() >= end) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (std::chrono::steady_clock::now() < end);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[4096]{};
    ::GetWindowTextW(window, buffer, 4096);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t buffer[256]{};
    ::GetClassNameW(window, buffer, 256);
    return buffer;
}

HWND FindTopWindow(const std::wstring& className, const std::wstring& title, DWORD processId,
                   const std::function<bool(HWND)>& accept) {
    struct Search {
        const std::wstring* className;
        const std::wstring* title;
        DWORD processId;
        const std::function<bool(HWND)>* accept;
        HWND found;
    } search{&className, &title, processId, &accept, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            if (!::IsWindowVisible(window)) return TRUE;
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (s->processId && owner != s->processId) return TRUE;
            if (ClassOf(window) != *s->className) return TRUE;
            if (!s->title->empty() && WindowText(window) != *s->title) return TRUE;
            if (*s->accept && !(*s->accept)(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

GameFolder::GameFolder() {
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    static int counter = 0;
    root_ = base + L"\\Reelwright tests \u00e9t\u00e9 " + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    RemoveTree(root_);
    path_ = root_ + L"\\Soldier Of Fortune II";
    CreateFolders(path_ + L"\\base\\mp\\demos");
    CreateFolders(path_ + L"\\mymod\\demos");
    ::CopyFileW((BuildFolder() + L"\\SOF2MP.exe").c_str(), (path_ + L"\\SOF2MP.exe").c_str(), FALSE);
}

GameFolder::GameFolder(const std::wstring& folder) : root_(folder), path_(folder), keepRoot_(true) {
    // The folder itself stays: it may be a drive's root.
    RemoveContents(root_);
    CreateFolders(path_ + L"\\base\\mp\\demos");
    CreateFolders(path_ + L"\\mymod\\demos");
    ::CopyFileW((BuildFolder() + L"\\SOF2MP.exe").c_str(), (path_ + L"\\SOF2MP.exe").c_str(), FALSE);
}

GameFolder::~GameFolder() {
    EndStandInGames();
    // A session's watcher puts the configs back once its games have ended:
    // the folder goes only after that, or the watcher would find the configs
    // out of reach and say so in a box that no one answers.
    WaitUntil([] { return SessionWatchers().empty(); }, std::chrono::seconds(30));
    if (keepRoot_)
        RemoveContents(root_);
    else
        RemoveTree(root_);
}

std::wstring GameFolder::AddFile(const std::wstring& relative, const std::string& content) {
    const std::wstring full = path_ + L"\\" + relative;
    CreateFolders(full.substr(0, full.find_last_of(L'\\')));
    const basAPI::UniqueFile file(
        ::CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        DWORD written = 0;
        ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }
    return full;
}

void GameFolder::AddGameExecutable(const std::wstring& relativeFolder) {
    const std::wstring folder = path_ + L"\\" + relativeFolder;
    CreateFolders(folder);
    ::CopyFileW((BuildFolder() + L"\\SOF2MP.exe").c_str(), (folder + L"\\SOF2MP.exe").c_str(), FALSE);
}

std::vector<GameFolder::Record> GameFolder::Records() const {
    std::vector<Record> records;
    std::ifstream log(std::filesystem::path(path_ + L"\\SOF2MP.log"), std::ios::binary);
    std::string line;
    Record current;
    bool open = false;
    while (std::getline(log, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "BEGIN") {
            current = {};
            open = true;
        } else if (line == "END" && open) {
            records.push_back(current);
            open = false;
        } else if (line.rfind("commandline=", 0) == 0) {
            current.commandLine = line.substr(12);
        } else if (line.rfind("parameters=", 0) == 0) {
            current.parameters = line.substr(11);
        } else if (line.rfind("directory=", 0) == 0) {
            current.directory = line.substr(10);
        } else if (line.rfind("show=", 0) == 0) {
            current.show = std::stoi(line.substr(5));
        } else if (line.rfind("console=", 0) == 0) {
            current.console.push_back(line.substr(8));
        } else if (line.rfind("variable=", 0) == 0) {
            current.demoVariables.push_back(line.substr(9));
        }
    }
    return records;
}

bool GameFolder::WaitForRecords(std::size_t count, std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return Records().size() >= count; }, timeout);
}

namespace {

std::wstring LongPath(const std::wstring& path) {
    wchar_t buffer[MAX_PATH * 4]{};
    const DWORD length = ::GetLongPathNameW(path.c_str(), buffer, static_cast<DWORD>(std::size(buffer)));
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : path;
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() &&
           ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

namespace {

BOOL CALLBACK FindVisibleWindowOf(HWND window, LPARAM parameter) {
    auto* process = reinterpret_cast<DWORD*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != *process || !::IsWindowVisible(window)) return TRUE;
    *process = 0;  // found
    return FALSE;
}

}  // namespace

std::vector<DWORD> SessionWatchers() {
    std::vector<DWORD> watchers;
    const basAPI::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return watchers;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (::lstrcmpiW(entry.szExeFile, L"Reelwright.exe") != 0) continue;
        DWORD search = entry.th32ProcessID;
        ::EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search != 0) watchers.push_back(entry.th32ProcessID);
    }
    return watchers;
}

void GameFolder::EndStandInGames() const {
    // Only the stand-in games started from this folder: those are the ones
    // this test caused. Each is ended through a handle to that very process.
    std::wstring folder = LongPath(root_);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();  // a drive root ("R:\\")
    folder += L"\\";
    const basAPI::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (::lstrcmpiW(entry.szExeFile, L"SOF2MP.exe") != 0) continue;
        basAPI::UniqueHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                                   FALSE, entry.th32ProcessID));
        if (!process) continue;
        wchar_t image[MAX_PATH * 4]{};
        DWORD length = static_cast<DWORD>(std::size(image));
        if (!::QueryFullProcessImageNameW(process.get(), 0, image, &length)) continue;
        if (!StartsWithIgnoringCase(LongPath(std::wstring(image, length)), folder)) continue;
        ::TerminateProcess(process.get(), 0);
        ::WaitForSingleObject(process.get(), 5000);
    }
}

namespace {

bool IsStatic(HWND window) { return ::lstrcmpiW(ClassOf(window).c_str(), L"Static") == 0; }

}  // namespace

std::wstring IconOf(HWND window) {
    HWND control = window;
    if (ClassOf(window) == L"#32770") {
        control = nullptr;
        const auto showsIcon = [](HWND child) {
            return child && ::IsWindowVisible(child) && IsStatic(child) && ::SendMessageW(child, STM_GETICON, 0, 0);
        };
        for (int id : {0x14, 1088})
            if (!control && showsIcon(::GetDlgItem(window, id))) control = ::GetDlgItem(window, id);
        for (HWND child = ::GetWindow(window, GW_CHILD); child && !control; child = ::GetWindow(child, GW_HWNDNEXT))
            if (showsIcon(child)) control = child;
        if (!control) return L"none";
    }
    const auto shown = reinterpret_cast<HICON>(::SendMessageW(control, STM_GETICON, 0, 0));
    if (!shown) return L"none";
    const struct {
        LPCWSTR id;
        const wchar_t* name;
    } icons[] = {{IDI_INFORMATION, L"information"},
                 {IDI_QUESTION, L"question"},
                 {IDI_EXCLAMATION, L"exclamation"},
                 {IDI_HAND, L"stop"}};
    for (const auto& icon : icons)
        if (shown == ::LoadIconW(nullptr, icon.id)) return icon.name;
    return L"other";
}

DialogSnapshot ReadDialog(HWND window) {
    DialogSnapshot snapshot;
    snapshot.title = WindowText(window);
    snapshot.owner = ::GetWindow(window, GW_OWNER);
    if (ClassOf(window) == L"#32768") {
        const auto menu = reinterpret_cast<HMENU>(::SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int position = 0; menu && position < ::GetMenuItemCount(menu); ++position) {
            wchar_t text[256]{};
            ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
            const UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
            snapshot.menuItems.push_back({text, !(state & (MF_GRAYED | MF_DISABLED))});
        }
        return snapshot;
    }
    if (HWND text = ::GetDlgItem(window, 0xFFFF)) snapshot.text = WindowText(text);
    snapshot.icon = IconOf(window);
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE})
        if (HWND button = ::GetDlgItem(window, id); button && ::IsWindowVisible(button)) snapshot.buttons.push_back(id);
    return snapshot;
}

DialogAnswerer::DialogAnswerer(std::vector<Step> steps, std::chrono::milliseconds timeout) : steps_(std::move(steps)) {
    thread_ = std::thread([this, timeout] { Run(timeout); });
}

std::vector<DialogAnswerer::Step> DialogAnswerer::Menu(std::wstring caption) {
    return {{L"", ChooseMenuItem(std::move(caption)), false, L"#32768"}};
}

DialogAnswerer::~DialogAnswerer() { Join(); }

void DialogAnswerer::Join() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

const std::vector<DialogSnapshot>& DialogAnswerer::Seen() {
    Join();
    return seen_;
}

std::vector<DialogSnapshot> DialogAnswerer::Seen(const std::wstring& title) {
    std::vector<DialogSnapshot> titled;
    for (const DialogSnapshot& snapshot : Seen())
        if (snapshot.title == title) titled.push_back(snapshot);
    return titled;
}

void DialogAnswerer::Run(std::chrono::milliseconds timeout) {
    const DWORD processId = ::GetCurrentProcessId();
    std::set<HWND> answered;
    // The steps waited for, in order; the index of the next one.
    std::vector<const Step*> waited;
    bool anyEveryOne = false;
    for (const Step& step : steps_) {
        if (step.everyOne) anyEveryOne = true;
        else waited.push_back(&step);
    }
    std::size_t next = 0;
    auto giveUp = std::chrono::steady_clock::now() + timeout;
    const auto answer = [&](const Step& step) {
        HWND window = FindTopWindow(step.className, step.title, processId);
        // A popup menu's window is there before it holds its menu.
        if (!window || answered.count(window) ||
            (step.className == L"#32768" && !::SendMessageW(window, MN_GETHMENU, 0, 0)))
            return false;
        answered.insert(window);
        seen_.push_back(ReadDialog(window));
        step.answer(window);
        return true;
    };
    for (;;) {
        if (next < waited.size()) {
            if (answer(*waited[next])) {
                ++next;
                giveUp = std::chrono::steady_clock::now() + timeout;
            } else if (std::chrono::steady_clock::now() > giveUp) {
                next = waited.size();
            }
        }
        if (next == waited.size()) {
            done_ = true;
            // Only now, so that they never take the window a waited step is for.
            for (const Step& step : steps_)
                if (step.everyOne) answer(step);
        }
        if (next == waited.size() && (!anyEveryOne || stop_)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    done_ = true;
}

DialogAnswerer::Answer DialogAnswerer::Click(int buttonId) {
    return [buttonId](HWND dialog) {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, buttonId)));
    };
}

DialogAnswerer::Answer DialogAnswerer::ChooseMenuItem(std::wstring caption) {
    return [caption](HWND menuWindow) {
        const auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        wchar_t accessKey = 0;
        for (int position = 0; menu && position < ::GetMenuItemCount(menu); ++position) {
            wchar_t text[256]{};
            ::GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
            std::wstring shown = text;
            shown = shown.substr(0, shown.find(L'\t'));
            const std::size_t amp = shown.find(L'&');
            if (amp != std::wstring::npos && amp + 1 < shown.size()) {
                const wchar_t key = shown[amp + 1];
                shown.erase(amp, 1);
                if (!caption.empty() && shown == caption) accessKey = key;
            }
        }
        // Keys posted to the menu's window reach the loop that tracks it.
        if (accessKey) ::PostMessageW(menuWindow, WM_CHAR, accessKey, 1);
        else ::PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 1);
    };
}

DialogAnswerer::Answer DialogAnswerer::TypeFileName(std::wstring text) {
    return [text](HWND dialog) {
        ::SendMessageW(FileNameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    };
}

StartedProcess::StartedProcess(const std::wstring& program, const std::wstring& arguments,
                               const std::wstring& directory, HANDLE output) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
                         directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        process_.reset(info.hProcess);
        ::CloseHandle(info.hThread);
        id_ = info.dwProcessId;
    }
}

StartedProcess::~StartedProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> StartedProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_) return std::nullopt;
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool TestsMayChangeThisMachine() {
    if (RunningUnderWine()) return true;
    const char* allowed = std::getenv("REELWRIGHT_TESTS_MAY_CHANGE_THIS_MACHINE");
    if (allowed && std::string(allowed) == "1") return true;
    std::fprintf(stderr,
                 "These tests rewrite the Reelwright settings of the current user "
                 "(HKEY_CURRENT_USER\\Software\\Reelwright) and the .dm_2004 file association of this machine.\n"
                 "They run under Wine; this is not Wine, so they did not start.\n"
                 "Set REELWRIGHT_TESTS_MAY_CHANGE_THIS_MACHINE=1 to run them here all the same.\n");
    return false;
}

void RemoveAssociationKeys() {
    for (const wchar_t* key : {L".dm_2004", L"SOF2_Demo_File"}) {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
        ::RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
        const std::wstring user = std::wstring(L"Software\\Classes\\") + key;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, user.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, user.c_str());
    }
}

HWND FileNameBoxOf(HWND dialog) {
    if (HWND edit = ::GetDlgItem(dialog, edt1)) return edit;
    HWND combo = ::GetDlgItem(dialog, cmb13);
    if (!combo) return nullptr;
    HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
    return edit ? edit : combo;
}

bool AddDemoWithDialog(HWND main, DWORD processId, const std::wstring& path) {
    ::PostMessageW(main, WM_COMMAND, frmMain::IDC_cmdAdd, 0);
    HWND dialog = WaitForWindow(L"#32770", processId, L"Add SOF2 Demo Files for viewing...");
    if (!dialog) return false;
    DialogAnswerer::TypeFileName(path)(dialog);
    return WaitUntil([&] { return !::IsWindow(dialog); }, std::chrono::seconds(15));
}

bool AddDemosWithDialog(HWND main, DWORD processId, const std::wstring& folder, const std::vector<std::wstring>& names) {
    ::PostMessageW(main, WM_COMMAND, frmMain::IDC_cmdAdd, 0);
    HWND dialog = WaitForWindow(L"#32770", processId, L"Add SOF2 Demo Files for viewing...");
    if (!dialog) return false;
    // Open takes a folder typed in the box as the one to show.
    ::SendMessageW(FileNameBoxOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    std::wstring typed;
    for (const std::wstring& name : names) typed += L"\"" + name + L"\" ";
    DialogAnswerer::TypeFileName(typed)(dialog);
    return WaitUntil([&] { return !::IsWindow(dialog); }, std::chrono::seconds(30));
}

HWND WaitForDialog(DWORD processId, const std::wstring& textPart, HWND except, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopWindow(L"#32770", L"", processId, [&](HWND window) {
                return window != except &&
                       (textPart.empty() || ReadDialog(window).text.find(textPart) != std::wstring::npos);
            });
            return found != nullptr;
        },
        timeout);
    return found;
}

HDROP MakeDropFiles(const std::vector<std::wstring>& paths) {
    std::size_t characters = 1;  // the empty text that ends the list
    for (const auto& path : paths) characters += path.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    if (!memory) return nullptr;
    auto* block = static_cast<DROPFILES*>(::GlobalLock(memory));
    block->pFiles = sizeof(DROPFILES);
    block->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(block) + sizeof(DROPFILES));
    for (const auto& path : paths) {
        std::copy(path.begin(), path.end(), text);
        text += path.size();
        *text++ = L'\0';
    }
    *text = L'\0';
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

SystemDpiForNewPrograms::SystemDpiForNewPrograms(DWORD dpi) {
    basAPI::UniqueRegKey desktop;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          desktop.put(), nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("the desktop's settings cannot be opened");
    DWORD size = sizeof(previous_);
    hadValue_ = ::RegQueryValueExW(desktop.get(), L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                                   &size) == ERROR_SUCCESS;
    ::RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
}

SystemDpiForNewPrograms::~SystemDpiForNewPrograms() {
    basAPI::UniqueRegKey desktop;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_ALL_ACCESS, desktop.put()) !=
        ERROR_SUCCESS)
        return;
    if (hadValue_)
        ::RegSetValueExW(desktop.get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                         sizeof(previous_));
    else
        ::RegDeleteValueW(desktop.get(), L"LogPixels");
}

HeldKeys::HeldKeys(std::initializer_list<int> keys) {
    ::GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    for (int key : keys) state[key] |= 0x80;
    ::SetKeyboardState(state);
}

HeldKeys::~HeldKeys() { ::SetKeyboardState(saved_); }

void PumpThroughDialog(HWND dialog) {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (::IsWindow(dialog) && ::IsDialogMessageW(dialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

std::wstring ProgramPath() { return BuildFolder() + L"\\Reelwright.exe"; }

std::string ReadBytes(const std::wstring& path) {
    // Shared for writing, deleting and renaming. Windows still refuses to
    // replace a file while anyone holds it open, so a program that replaces a
    // file the test watches must try again, as the session restore does.
    const basAPI::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

ConsoleInterpreter::FileSource FilesIn(const std::wstring& folder) {
    return [folder](const std::string& name) -> std::optional<std::string> {
        const std::wstring path = folder + L"\\" + basAPI::Widen(name);
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
        return ReadBytes(path);
    };
}

HWND WaitForWindow(const std::wstring& className, DWORD processId, const std::wstring& title,
                   std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(className, title, processId)) != nullptr; }, timeout);
    return found;
}

std::vector<DWORD> ChildProcesses(DWORD parent, const std::wstring& exeName) {
    std::vector<DWORD> children;
    const basAPI::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        if (entry.th32ParentProcessID == parent && ::lstrcmpiW(entry.szExeFile, exeName.c_str()) == 0)
            children.push_back(entry.th32ProcessID);
    return children;
}

bool TerminateAndWait(DWORD processId) {
    basAPI::UniqueHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) return false;
    ::TerminateProcess(process.get(), 1);
    return ::WaitForSingleObject(process.get(), 15000) == WAIT_OBJECT_0;
}

std::wstring LocalAppDataFolder() {
    wchar_t path[MAX_PATH]{};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

std::set<std::wstring> ItemsBelow(const std::wstring& folder, const std::wstring& prefix) {
    std::set<std::wstring> items;
    WIN32_FIND_DATAW found{};
    basAPI::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return items;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        items.insert(prefix + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            items.merge(ItemsBelow(folder + L"\\" + name, prefix + name + L"\\"));
    } while (::FindNextFileW(find.get(), &found));
    return items;
}

}  // namespace reelwright::test
