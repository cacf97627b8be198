#include "StandInConsole.h"

#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "support/ConsoleInterpreter.h"

namespace standin {

namespace {

std::wstring Wide(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr,
                        nullptr);
    return result;
}

std::optional<std::string> ReadAnsiFileAsUtf8(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path, CP_UTF8).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return Utf8(Wide(bytes, CP_ACP));
}

}  // namespace

std::string RunCommandLine(const std::string& parameters, const std::string& directory) {
    reelwright::testing::ConsoleInterpreter console;
    console.SetFileSource([&](const std::string& name) -> std::optional<std::string> {
        const std::string basePath = console.Variable("fs_basepath").value_or(directory);
        const std::string gameType = console.Variable("fs_game").value_or("");
        for (const std::string& folder : {gameType, std::string("base")}) {
            if (folder.empty()) continue;
            if (auto text = ReadAnsiFileAsUtf8(basePath + "\\" + folder + "\\" + name)) return text;
        }
        return std::nullopt;
    });
    std::string record;
    try {
        console.ExecuteCommandLine(parameters);
    } catch (const std::exception& error) {
        record += std::string("console=error ") + error.what() + "\r\n";
    }

    for (const std::string& entry : console.Trace())
        if (entry.rfind("exec ", 0) == 0 || entry.rfind("couldn't exec ", 0) == 0 || entry.rfind("Cbuf_", 0) == 0)
            record += "console=" + entry + "\r\n";
    if (console.FatalError()) record += "console=fatal " + *console.FatalError() + "\r\n";
    for (int i = 1;; ++i) {
        const std::string name = "demo" + std::to_string(i);
        const auto value = console.Variable(name);
        if (!value) break;
        record += "variable=" + name + " " + *value + "\r\n";
    }
    return record;
}

}  // namespace standin
