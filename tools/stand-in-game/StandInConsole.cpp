#include "StandInConsole.h"

#include <windows.h>
#include <shlobj.h>

#include <exception>
#include <fstream>
#include <sstream>
#include <vector>

namespace standin {

namespace {

using reelwright::test::ConsoleInterpreter;

std::wstring Wide(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

// The console works on the files' bytes as the engine does; the record is UTF-8.
std::string AnsiToUtf8(const std::string& text) { return Narrow(Wide(text, CP_ACP), CP_UTF8); }

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

std::wstring WithoutTrailingSeparator(std::wstring path) {
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    return path;
}

}  // namespace

GameConsole::GameConsole(const std::wstring& parameters, const std::wstring& directory)
    : directory_(WithoutTrailingSeparator(directory)), commandLine_(Narrow(parameters, CP_UTF8)) {
    // The engine applies "+set" of its paths before it reads the config.
    for (const std::string& piece : ConsoleInterpreter::SplitCommandLine(commandLine_)) {
        const auto words = ConsoleInterpreter::Tokenize(piece);
        if (words.size() >= 3 && words[0] == "set" && words[1] == "fs_basepath")
            basePath_ = WithoutTrailingSeparator(Wide(words[2], CP_UTF8));
        if (words.size() >= 3 && words[0] == "set" && words[1] == "fs_game") gameType_ = Wide(words[2], CP_UTF8);
    }
    if (basePath_.empty()) basePath_ = directory_;
    if (!gameType_.empty()) config_ = ConfigToUse(basePath_ + L"\\" + gameType_ + L"\\SOF2MP.cfg");
    console_.SetFileSource([this](const std::string& name) { return ReadGameFile(name); });
}

// "exec" looks in the game-type folder, then in "base", below the base path
// the console holds at that moment.
std::optional<std::string> GameConsole::ReadGameFile(const std::string& name) const {
    const auto basePath = console_.Variable("fs_basepath");
    const std::wstring base = basePath ? WithoutTrailingSeparator(Wide(*basePath, CP_UTF8)) : basePath_;
    const auto gameType = console_.Variable("fs_game");
    const std::wstring type = gameType ? Wide(*gameType, CP_UTF8) : gameType_;
    for (const std::wstring& folder : {type, std::wstring(L"base")}) {
        if (folder.empty()) continue;
        if (auto text = ReadFileBytes(base + L"\\" + folder + L"\\" + Wide(name, CP_UTF8))) return text;
    }
    return std::nullopt;
}

std::string GameConsole::Start() {
    std::string record;
    try {
        if (!config_.empty())
            if (const auto text = ReadFileBytes(config_)) console_.Execute(*text);
        console_.TakeConfigChanged();  // reading the config does not rewrite it
        console_.Take();  // the record tells what the command line did
        console_.ExecuteCommandLine(commandLine_);
        WriteConfigWhenChanged();
    } catch (const std::exception& error) {
        // A script that runs without end: the game goes on without it.
        stopped_ = true;
        record += std::string("console=error ") + error.what() + "\r\n";
    }

    for (const std::string& entry : console_.Trace())
        if (entry.rfind("exec ", 0) == 0 || entry.rfind("couldn't exec ", 0) == 0 || entry.rfind("Cbuf_", 0) == 0)
            record += "console=" + AnsiToUtf8(entry) + "\r\n";
    if (console_.FatalError()) record += "console=fatal " + *console_.FatalError() + "\r\n";
    for (int i = 1;; ++i) {
        const std::string name = "demo" + std::to_string(i);
        const auto value = console_.Variable(name);
        if (!value) break;
        record += "variable=" + name + " " + AnsiToUtf8(*value) + "\r\n";
    }
    return record;
}

void GameConsole::RunPlayer(const std::wstring& playerFile) {
    const auto actions = ReadFileBytes(playerFile);
    if (!actions || stopped_ || console_.FatalError()) return;
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

void GameConsole::WriteConfigWhenChanged() {
    if (!console_.TakeConfigChanged() || config_.empty()) return;
    const DWORD attributes = GetFileAttributesW(config_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return;
    const std::string text = console_.ConfigText("\n");
    // A test that reads the config to see what the game wrote may hold it
    // for a moment: the write waits for that rather than being lost (up to
    // ten seconds).
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        file = CreateFileW(config_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
        Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace standin
