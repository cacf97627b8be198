#include "shell/win/Win32Platform.h"

#include <limits>
#include <string_view>

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

void CloseFind(HANDLE find) { ::FindClose(find); }

}  // namespace

std::optional<FolderContents> Win32FileSystem::ListFolder(const std::string& folder) {
    std::wstring path = LongPath(basAPI::Widen(folder));
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;

    FolderContents contents;
    if (path.empty() || path.back() != L'\\') path += L'\\';
    path += L'*';
    // The basic information (no short names) in large batches: a folder of
    // tens of thousands of demos is listed in a few calls.
    WIN32_FIND_DATAW found{};
    const HANDLE find = ::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return contents;  // empty drive root, or not readable
    const basAPI::Unique<HANDLE, CloseFind> owner(find);
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

std::intptr_t Win32GameShell::ShellOpen(const std::string& file, const std::string& parameters,
                                        const std::string& directory, int showMode) {
    return basFunctions::ShellOpen(owner_, file, parameters, directory, showMode);
}

}  // namespace reelwright::win
