// The file system's handle-based part: files and folders opened without
// following links and held while they are changed, and the small operations
// around the program's temporary copies.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "core/win/basAPI.h"
#include "core/win/Win32FileSystem.h"

namespace reelwright::win {

namespace {

// An open file handle, or an empty owner with the error in `error`.
basAPI::UniqueFile Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, FileResult& error) {
    basAPI::UniqueFile handle(
        ::CreateFileW(basAPI::Widen(path).c_str(), access, share, nullptr, disposition,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    error = handle ? FileResult{} : LastError();
    return handle;
}

// "\\?\C:\x" gives "C:\x", "\\?\UNC\server\share" gives "\\server\share".
std::string WithoutLongPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return basAPI::Narrow(L"\\\\" + path.substr(8));
    if (path.rfind(L"\\\\?\\", 0) == 0) return basAPI::Narrow(path.substr(4));
    return basAPI::Narrow(path);
}

bool ReadFacts(HANDLE handle, HeldFacts& facts, std::uint64_t* size = nullptr) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle, &information)) return false;
    facts.directory = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    facts.reparsePoint = (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.links = information.nNumberOfLinks;
    if (size) *size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;

    std::wstring final(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                               FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= final.size()) return false;
    final.resize(length);
    facts.finalPath = WithoutLongPrefix(final);
    return true;
}

// Reads from the file's current position at most `limit` + 1 of its `size`
// bytes (more than `limit` tells that the file is larger).
FileResult ReadUpTo(HANDLE file, std::uint64_t size, std::size_t limit, std::string& bytes) {
    bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(size, std::uint64_t{limit} + 1)));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 30));
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data() + filled, chunk, &read, nullptr)) {
            bytes.clear();
            return LastError();
        }
        if (read == 0) break;
        filled += read;
    }
    bytes.resize(filled);
    return {};
}

FileResult WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return LastError();
        if (written == 0) return FileResult{ERROR_WRITE_FAULT};
        bytes.remove_prefix(written);
    }
    return {};
}

class Win32HeldItem : public HeldItem {
public:
    Win32HeldItem(basAPI::UniqueFile handle, HeldFacts facts)
        : HeldItem(std::move(facts)), handle_(std::move(handle)) {}

    FileResult Replace(std::string_view bytes) override {
        LARGE_INTEGER start{};
        if (!::SetFilePointerEx(handle_.get(), start, nullptr, FILE_BEGIN) || !::SetEndOfFile(handle_.get()))
            return LastError();
        return WriteAll(handle_.get(), bytes);
    }

    FileResult MakeReadOnly() override {
        // Zero times leave the file's times as they are.
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = FILE_ATTRIBUTE_READONLY;
        return ::SetFileInformationByHandle(handle_.get(), FileBasicInfo, &basic, sizeof(basic)) ? FileResult{}
                                                                                                : LastError();
    }

    FileResult Read(std::size_t limit, std::string& bytes) override {
        bytes.clear();
        LARGE_INTEGER size{};
        LARGE_INTEGER start{};
        if (!::GetFileSizeEx(handle_.get(), &size) || !::SetFilePointerEx(handle_.get(), start, nullptr, FILE_BEGIN))
            return LastError();
        return ReadUpTo(handle_.get(), static_cast<std::uint64_t>(size.QuadPart), limit, bytes);
    }

    FileResult Delete() override {
        // Through the handle: the very file that was created goes, even when
        // its folder has been moved or replaced since.
        FILE_DISPOSITION_INFO disposition{TRUE};
        return ::SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &disposition, sizeof(disposition))
                   ? FileResult{}
                   : LastError();
    }

private:
    basAPI::UniqueFile handle_;
};

}  // namespace

bool Win32FileSystem::IsReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(basAPI::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

std::unique_ptr<HeldItem> Win32FileSystem::Hold(const std::string& path, HoldMode mode, FileResult& error) {
    // Never FILE_SHARE_DELETE: while held, the item cannot be deleted, renamed
    // or replaced by another one under its name. Every hold reads data (lists
    // a folder) or writes: an open for attributes alone takes no part in
    // sharing, and a folder held only so can still be renamed and replaced
    // by a junction.
    DWORD access = FILE_READ_DATA | FILE_READ_ATTRIBUTES;  // FILE_LIST_DIRECTORY for a folder
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
        case HoldMode::Inspect: break;
        case HoldMode::WriteExisting: access = GENERIC_WRITE | FILE_READ_ATTRIBUTES; share = FILE_SHARE_READ; break;
        case HoldMode::CreateNew:
            // DELETE: a new file that fails a later check is removed again.
            access = GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE;
            share = FILE_SHARE_READ;
            disposition = CREATE_NEW;
            break;
        case HoldMode::Attributes: access |= FILE_WRITE_ATTRIBUTES; break;
        case HoldMode::Read:
            // No write access: a program held so can be started.
            access = GENERIC_READ;
            share = FILE_SHARE_READ;
            break;
    }
    basAPI::UniqueFile handle = Open(path, access, share, disposition, error);
    if (!handle) return nullptr;
    HeldFacts facts;
    if (!ReadFacts(handle.get(), facts)) {
        error = LastError();
        return nullptr;
    }
    return std::make_unique<Win32HeldItem>(std::move(handle), std::move(facts));
}

FileResult Win32FileSystem::ReadHeldFile(const std::string& path, std::size_t limit, std::string& bytes,
                                         HeldFacts& facts) {
    bytes.clear();
    FileResult error;
    // Others may read it meanwhile, but not write, delete or rename it.
    const basAPI::UniqueFile file = Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, error);
    if (!file) return error;
    std::uint64_t size = 0;
    if (!ReadFacts(file.get(), facts, &size)) return LastError();
    if (facts.reparsePoint || facts.directory) return {};
    return ReadUpTo(file.get(), size, limit, bytes);
}

std::string Win32FileSystem::TextFromAnsi(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return basAPI::Narrow(wide);
}

bool Win32FileSystem::IsLocalFixedDrive(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
    return ::GetDriveTypeW(basAPI::Widen(path.substr(0, 3)).c_str()) == DRIVE_FIXED;
}

std::string Win32FileSystem::TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1]{};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    std::wstring text(folder, length);
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    return basAPI::Narrow(text);
}

FileResult Win32FileSystem::CreateFolder(const std::string& path) {
    return ::CreateDirectoryW(basAPI::Widen(path).c_str(), nullptr) ? FileResult{} : LastError();
}

FileResult Win32FileSystem::RemoveFolder(const std::string& path) {
    return ::RemoveDirectoryW(basAPI::Widen(path).c_str()) ? FileResult{} : LastError();
}

FileResult Win32FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
    FileResult error;
    basAPI::UniqueFile file = Open(path, GENERIC_WRITE, 0, CREATE_NEW, error);
    if (!file) return error;
    if (const FileResult written = WriteAll(file.get(), bytes); !written) return written;
    return ::CloseHandle(file.release()) ? FileResult{} : LastError();
}

}  // namespace reelwright::win
