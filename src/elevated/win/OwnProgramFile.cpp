#include "elevated/win/OwnProgramFile.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <string>

#include "core/win/basAPI.h"

namespace reelwright::win {

namespace {

basAPI::UniqueFile& ProgramFile() {
    static basAPI::UniqueFile file;
    return file;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace

void HoldOwnProgramFile() {
    if (ProgramFile()) return;
    const std::wstring path = ModulePath();
    if (path.empty()) return;
    // No FILE_SHARE_WRITE and no FILE_SHARE_DELETE: while this handle is open
    // the file cannot be written, deleted or renamed.
    ProgramFile() = basAPI::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::optional<std::string> ReadOwnProgramFile() {
    const HANDLE file = ProgramFile().get();
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max() / 2)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        // Read at explicit offsets: the handle's own position does not matter.
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(filled & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(filled) >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 30));
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data() + filled, chunk, &read, &at) || read == 0) return std::nullopt;
        filled += read;
    }
    return bytes;
}

}  // namespace reelwright::win
