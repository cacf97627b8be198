// A stand-in for the game's multiplayer executable. Every start appends one
// record to "SOF2MP.log" beside the executable, in UTF-8:
//
//   BEGIN
//   commandline=<the whole command line>
//   parameters=<the command line without the program's own name>
//   directory=<the working directory>
//   show=<the window show code it was asked for, in decimal; -1 when none>
//   END
//
// Then it plays the part of the game's console, as the engine does with its
// config: it runs "<fs_basepath>\<fs_game>\SOF2MP.cfg" (when the user's
// VirtualStore copy of that file exists, that copy, as Windows redirects an
// old program), then the command line's commands ("exec" reads the file from
// the game-type folder). Whenever a bind or a stored ("seta") variable
// changes, it rewrites the config as the engine does: a comment line,
// "unbindall", every bind, every stored variable, LF line ends; a config with
// the read-only attribute is not written. Then it runs "SOF2MP.player" beside
// itself line by line, as a player would type them: console commands, "press
// <key>" to press a bound key, and "quit" to end the game there.
//
// Otherwise it shows what it received in a window until that window is closed.
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/ConsoleInterpreter.h"

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

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::wstring KnownFolder(int id) {
    wchar_t path[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

bool StartsWithFolder(const std::wstring& path, const std::wstring& folder) {
    return !folder.empty() && path.size() > folder.size() && path[folder.size()] == L'\\' &&
           CompareStringOrdinal(path.c_str(), static_cast<int>(folder.size()), folder.c_str(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// The file the game reads and writes as its config: Windows sends an old
// program below these folders to the user's copy once that copy exists.
std::wstring ConfigToUse(const std::wstring& config) {
    for (int id : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS, CSIDL_COMMON_APPDATA}) {
        const std::wstring folder = KnownFolder(id);
        if (!StartsWithFolder(config, folder) || config.size() < 3) continue;
        const std::wstring copy = KnownFolder(CSIDL_LOCAL_APPDATA) + L"\\VirtualStore\\" + config.substr(3);
        if (GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES) return copy;
    }
    return config;
}

// The game's console with its config file.
class Console {
public:
    explicit Console(const std::wstring& parameters) {
        // The engine applies "+set" of its paths before it reads the config.
        const std::string utf8 = Utf8(parameters);
        for (const std::string& piece : reelwright::testing::ConsoleInterpreter::SplitCommandLine(utf8)) {
            const auto words = reelwright::testing::ConsoleInterpreter::Tokenize(piece);
            if (words.size() >= 3 && words[0] == "set" && words[1] == "fs_basepath") basePath_ = Widen(words[2]);
            if (words.size() >= 3 && words[0] == "set" && words[1] == "fs_game") gameType_ = Widen(words[2]);
        }
        if (!basePath_.empty() && basePath_.back() == L'\\') basePath_.pop_back();
        console_.SetFileReader([this](const std::string& name) { return ReadFileBytes(Folder() + L"\\" + Widen(name)); });
        if (!gameType_.empty()) config_ = ConfigToUse(Folder() + L"\\SOF2MP.cfg");
        commandLine_ = utf8;
    }

    void Run(const std::wstring& playerFile) {
        if (config_.empty()) return;
        if (const auto text = ReadFileBytes(config_)) console_.Execute(*text);
        console_.TakeConfigChanged();  // reading the config does not rewrite it
        console_.ExecuteCommandLine(commandLine_);
        WriteConfigWhenChanged();
        const auto actions = ReadFileBytes(playerFile);
        if (!actions) return;
        std::istringstream lines(*actions);
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line == "quit") {
                quit_ = true;
                return;
            }
            if (line.rfind("press ", 0) == 0) console_.PressKey(line.substr(6));
            else console_.Execute(line);
            WriteConfigWhenChanged();
        }
    }

    bool Quit() const { return quit_; }

private:
    std::wstring Folder() const { return basePath_ + L"\\" + gameType_; }

    void WriteConfigWhenChanged() {
        if (!console_.TakeConfigChanged()) return;
        const DWORD attributes = GetFileAttributesW(config_.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
        const std::string text = console_.ConfigText("\n");
        HANDLE file = CreateFileW(config_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    reelwright::testing::ConsoleInterpreter console_;
    std::wstring basePath_, gameType_, config_;
    std::string commandLine_;
    bool quit_ = false;
};

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

    const std::string record = "BEGIN\r\ncommandline=" + Utf8(commandLine) + "\r\nparameters=" + Utf8(parameters) +
                               "\r\ndirectory=" + Utf8(directory) + "\r\nshow=" + std::to_string(requestedShow) +
                               "\r\nEND\r\n";
    AppendRecord(ModuleFolder() + L"\\SOF2MP.log", record);

    try {
        Console console(parameters);
        console.Run(ModuleFolder() + L"\\SOF2MP.player");
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
