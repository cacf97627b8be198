// A stand-in for the game's multiplayer executable. Every start appends one
// record to "SOF2MP.log" beside the executable, in UTF-8:
//
//   BEGIN
//   commandline=<the whole command line>
//   parameters=<the command line without the program's own name>
//   directory=<the working directory>
//   show=<the window show code it was asked for, in decimal; -1 when none>
//   console=... and variable=... lines: what its console did with its
//           config and the command line (StandInConsole.h)
//   END
//
// Its console first runs the game's config and the command line, as the game
// does at start-up, rewriting the config when a bind or a stored variable
// changes. Then it runs "SOF2MP.player" beside itself line by line, as a
// player would type them: console commands, "press <key>" to press a bound
// key, and "quit" to end the game there.
//
// Otherwise it shows what it received in a window until that window is closed.
#include <windows.h>

#include <string>
#include <vector>

#include "StandInConsole.h"

namespace {

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

// The parameters: what follows the program name, by the rules that
// CommandLineToArgvW uses for the first argument.
std::wstring ParametersOf(const std::wstring& commandLine) {
    std::size_t i = 0;
    if (i < commandLine.size() && commandLine[i] == L'"') {
        ++i;
        while (i < commandLine.size() && commandLine[i] != L'"') ++i;
        if (i < commandLine.size()) ++i;
    } else {
        while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
    return commandLine.substr(i);
}

std::wstring ModuleFolder() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), length);
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring WorkingDirectory() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), length);
}

void AppendRecord(const std::wstring& logPath, const std::string& record) {
    // Several starts may append at once: retry while another holds the file.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(10);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const std::wstring commandLine = GetCommandLineW();
    const std::wstring parameters = ParametersOf(commandLine);
    const std::wstring directory = WorkingDirectory();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);
    const int requestedShow = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    standin::GameConsole console(parameters, directory);
    const std::string record = "BEGIN\r\ncommandline=" + Utf8(commandLine) + "\r\nparameters=" + Utf8(parameters) +
                               "\r\ndirectory=" + Utf8(directory) + "\r\nshow=" + std::to_string(requestedShow) +
                               "\r\n" + console.Start() + "END\r\n";
    AppendRecord(ModuleFolder() + L"\\SOF2MP.log", record);

    try {
        console.RunPlayer(ModuleFolder() + L"\\SOF2MP.player");
        if (console.Quit()) return 0;
    } catch (const std::exception&) {
        // A script that runs without end: the game goes on without it.
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"StandInGame";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"StandInGame", L"SOF2MP stand-in", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 720, 240, nullptr, nullptr, instance, nullptr);
    const std::wstring text = L"Parameters:\r\n" + parameters + L"\r\n\r\nWorking directory:\r\n" + directory;
    HWND label = CreateWindowExW(0, L"EDIT", text.c_str(),
                                 WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | WS_VSCROLL, 8, 8, 690, 180,
                                 window, nullptr, instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // The way the starter asked for, maximised when started as the game is.
    ShowWindow(window, requestedShow >= 0 ? requestedShow : showCommand);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
