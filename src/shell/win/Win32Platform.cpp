#include "shell/win/Win32Platform.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

#include "core/win/basAPI.h"
#include "shell/win/basFunctions.h"

namespace reelwright::win {

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(basAPI::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// The calling thread's last error as a result; a failure that left no code
// still reads as a failure.
FileResult LastError() {
    const DWORD error = ::GetLastError();
    return FileResult{error != 0 ? error : static_cast<std::uint32_t>(ERROR_GEN_FAILURE)};
}

FileResult Checked(BOOL succeeded) { return succeeded ? FileResult{} : LastError(); }

// The system's text for an error code, without the line end it comes with;
// empty for a code the system has no text for.
std::wstring SystemMessage(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const basAPI::Unique<HLOCAL, ::LocalFree> owned(static_cast<HLOCAL>(buffer));
    std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text;
}

}  // namespace

FileResult Win32FileSystem::SetReadOnly(const std::string& path) {
    return Checked(::SetFileAttributesW(basAPI::Widen(path).c_str(), FILE_ATTRIBUTE_READONLY));
}

FileResult Win32FileSystem::CopyFileOver(const std::string& from, const std::string& to) {
    return Checked(::CopyFileW(basAPI::Widen(from).c_str(), basAPI::Widen(to).c_str(), FALSE));
}

FileResult Win32FileSystem::WriteAnsiTextFile(const std::string& path, const std::string& utf8Text) {
    const std::string bytes = basAPI::ToAnsi(utf8Text);
    if (bytes.size() > std::numeric_limits<DWORD>::max()) return FileResult{ERROR_FILE_TOO_LARGE};
    basAPI::UniqueHandle file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const FileResult failed = LastError();
        file.release();
        return failed;
    }
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return LastError();
    if (!::CloseHandle(file.release())) return LastError();
    return written == bytes.size() ? FileResult{} : FileResult{ERROR_WRITE_FAULT};
}

FileResult Win32FileSystem::ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
    bytes.clear();
    basAPI::UniqueHandle file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const FileResult failed = LastError();
        file.release();
        return failed;
    }
    bytes.resize(std::min<std::size_t>(count, std::numeric_limits<DWORD>::max()));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.clear();
        return LastError();
    }
    bytes.resize(read);
    return {};
}

FileResult Win32FileSystem::RemoveFile(const std::string& path) {
    return Checked(::DeleteFileW(basAPI::Widen(path).c_str()));
}

std::string Win32FileSystem::MakeTemporaryFile() {
    wchar_t folder[MAX_PATH + 1]{};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    wchar_t path[MAX_PATH]{};
    // Creates the file with a unique name, so no other program can slip one in
    // under the name between choosing it and writing it.
    if (::GetTempFileNameW(folder, L"rw", 0, path) == 0) return {};
    return basAPI::Narrow(path);
}

std::string Win32FileSystem::ErrorText(std::uint32_t error) {
    std::wstring text = SystemMessage(error);
    // Set inside a sentence of the program's own: without the final full stop.
    while (!text.empty() && (text.back() == L'.' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return "error " + std::to_string(error);
    return basAPI::Narrow(text);
}


namespace {

// A path that the wide functions take at any length: drive and network paths
// longer than MAX_PATH get the "\\?\" prefix, which also turns off the
// parsing of "." and "..".
std::wstring LongPath(const std::wstring& path) {
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
    return path;
}

}  // namespace

std::optional<FolderContents> Win32FileSystem::ListFolder(const std::string& folder) {
    std::wstring path = LongPath(basAPI::Widen(folder));
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;

    FolderContents contents;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        contents.isLink = true;  // its contents lie elsewhere
        return contents;
    }
    if (path.empty() || path.back() != L'\\') path += L'\\';
    path += L'*';
    // The basic information (no short names) in large batches: a folder of
    // tens of thousands of demos is listed in a few calls.
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return contents;  // empty drive root, or not readable
    const basAPI::Unique<HANDLE, ::FindClose> owner(find);
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) contents.folders.push_back(basAPI::Narrow(name));
        } else {
            contents.files.push_back(basAPI::Narrow(name));
        }
    } while (::FindNextFileW(find, &found));
    return contents;
}


std::uint32_t Win32GameShell::ShellOpen(const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showMode) {
    return basFunctions::ShellOpen(owner_, file, parameters, directory, showMode);
}

std::string Win32GameShell::ErrorText(std::uint32_t code) { return basAPI::Narrow(SystemMessage(code)); }

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
