#include "core/win/Win32FileSystem.h"

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

#include <aclapi.h>
#include <shlobj.h>

#include "core/win/basAPI.h"

namespace reelwright::win {

FileResult LastError() {
    const DWORD error = ::GetLastError();
    return FileResult{error != 0 ? error : static_cast<std::uint32_t>(ERROR_GEN_FAILURE)};
}

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(basAPI::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

FileResult Checked(BOOL succeeded) { return succeeded ? FileResult{} : LastError(); }

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
    basAPI::UniqueFile file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return LastError();
    if (!::CloseHandle(file.release())) return LastError();
    return written == bytes.size() ? FileResult{} : FileResult{ERROR_WRITE_FAULT};
}

FileResult Win32FileSystem::ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
    bytes.clear();
    basAPI::UniqueFile file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    bytes.resize(std::min<std::size_t>(count, std::numeric_limits<DWORD>::max()));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.clear();
        return LastError();
    }
    bytes.resize(read);
    return {};
}

FileResult Win32FileSystem::ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    basAPI::UniqueFile file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) return LastError();
    if (size.QuadPart > std::numeric_limits<DWORD>::max()) return FileResult{ERROR_FILE_TOO_LARGE};
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        bytes.clear();
        return LastError();
    }
    bytes.resize(read);
    return {};
}

namespace {

FileResult WriteFlushedFile(const std::wstring& path, const std::string& bytes) {
    if (bytes.size() > std::numeric_limits<DWORD>::max()) return FileResult{ERROR_FILE_TOO_LARGE};
    basAPI::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LastError();
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        !::FlushFileBuffers(file.get()))
        return LastError();
    if (written != bytes.size()) return FileResult{ERROR_WRITE_FAULT};
    if (!::CloseHandle(file.release())) return LastError();
    return {};
}

}  // namespace

namespace {

// The path an open handle leads to in the end, without a "\\?\" prefix;
// empty when the system does not tell.
std::wstring FinalPathOf(HANDLE file) {
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= final.size()) return {};
    final.resize(length);
    if (final.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + final.substr(8);
    if (final.rfind(L"\\\\?\\", 0) == 0) return final.substr(4);
    return final;
}

}  // namespace

FileResult CopyFileSecurity(HANDLE from, const std::wstring& to) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD read = ::GetSecurityInfo(from, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                         nullptr, &descriptor);
    if (read != ERROR_SUCCESS) return FileResult{read};
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    // The file's own entries; those it inherited come from the folder again.
    const SECURITY_INFORMATION which = DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED)
                                                                        ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                        : UNPROTECTED_DACL_SECURITY_INFORMATION);
    std::wstring name = to;
    const DWORD set = dacl ? ::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, which, nullptr, nullptr, dacl, nullptr)
                           : ERROR_SUCCESS;
    ::LocalFree(descriptor);
    return FileResult{set};
}

FileResult Win32FileSystem::ReplaceFile(const std::string& path, const std::string& bytes) {
    std::wstring target = basAPI::Widen(path);
    // A file that is a link stays one: the new bytes replace the file it
    // leads to, which keeps its own security (not a plain file in the link's
    // place with the folder's).
    basAPI::UniqueFile existing(::CreateFileW(target.c_str(), READ_CONTROL,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing)  // not allowed to read its security: still followed
        existing.reset(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (existing) {
        if (std::wstring final = FinalPathOf(existing.get()); !final.empty()) target = std::move(final);
    }
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\'));
    const int made = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
        return FileResult{static_cast<std::uint32_t>(made)};

    // A new file beside the target, renamed over it once complete: the target
    // is never left half written.
    wchar_t temporary[MAX_PATH]{};
    if (::GetTempFileNameW(folder.c_str(), L"rw", 0, temporary) == 0) return LastError();
    FileResult result = WriteFlushedFile(temporary, bytes);
    // Best kept: a file system without security of its own (FAT, a share)
    // takes the new file as it is.
    if (result && existing) copySecurity(existing.get(), temporary);
    existing.reset();
    if (result && !::MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = LastError();
    if (!result) ::DeleteFileW(temporary);
    return result;
}

std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(basAPI::Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return attributes;
}

FileResult Win32FileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
    // No attribute at all is written as "normal", the value that stands for it.
    const DWORD value = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return Checked(::SetFileAttributesW(basAPI::Widen(path).c_str(), value));
}

FileResult Win32FileSystem::RemoveFile(const std::string& path) {
    return Checked(::DeleteFileW(basAPI::Widen(path).c_str()));
}

FileResult Win32FileSystem::RenameFile(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING: an existing file at `to` is never replaced.
    return Checked(::MoveFileExW(basAPI::Widen(from).c_str(), basAPI::Widen(to).c_str(), 0));
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
    std::wstring text = basAPI::SystemMessage(error);
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
    const basAPI::UniqueFind find(::FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                                     nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return contents;  // empty drive root, or not readable
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) contents.folders.push_back(basAPI::Narrow(name));
        } else {
            contents.files.push_back(basAPI::Narrow(name));
            contents.stamps.push_back(
                {(std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow,
                 (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime});
        }
    } while (::FindNextFileW(find.get(), &found));
    return contents;
}

}  // namespace reelwright::win
