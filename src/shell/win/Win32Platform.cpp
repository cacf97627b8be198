#include "shell/win/Win32Platform.h"

#include <limits>

#include "core/win/basAPI.h"
#include "shell/win/basFunctions.h"

namespace reelwright::win {

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(basAPI::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::SetReadOnly(const std::string& path) {
    return ::SetFileAttributesW(basAPI::Widen(path).c_str(), FILE_ATTRIBUTE_READONLY) != 0;
}

bool Win32FileSystem::CopyFileOver(const std::string& from, const std::string& to) {
    return ::CopyFileW(basAPI::Widen(from).c_str(), basAPI::Widen(to).c_str(), FALSE) != 0;
}

bool Win32FileSystem::WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) {
    const std::string bytes = basAPI::ToAnsi(utf8Text);
    if (bytes.size() > std::numeric_limits<DWORD>::max()) return false;
    basAPI::UniqueHandle file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return false;
    }
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    const BOOL closed = ::CloseHandle(file.release());
    return ok && closed && written == bytes.size();
}

std::uint32_t Win32GameShell::ShellOpen(const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showMode) {
    return basFunctions::ShellOpen(owner_, file, parameters, directory, showMode);
}

std::string Win32GameShell::ErrorText(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return basAPI::Narrow(text);
}

bool Win32GameShell::FitsAnsiCodePage(const std::string& text) {
    const std::wstring wide = basAPI::Widen(text);
    if (wide.empty()) return true;
    const UINT codePage = ::GetACP();
    // UTF-8 as the ANSI code page holds every character; the other code pages
    // tell whether a character had to be replaced (no best-fit look-alikes).
    if (codePage == CP_UTF8) return true;
    BOOL replaced = FALSE;
    const int length = ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                             nullptr, 0, nullptr, &replaced);
    return length > 0 && !replaced;
}

}  // namespace reelwright::win
