// The file system's reads at any offset (a pack's directory, then its
// entries) and its renames.
#include <algorithm>
#include <limits>
#include <utility>

#include "core/win/Win32FileSystem.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

namespace {

class Win32ReadableFile final : public ReadableFile {
public:
    Win32ReadableFile(basAPI::UniqueFile file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    std::uint64_t Size() const override { return size_; }

    FileResult ReadAt(std::uint64_t offset, std::size_t count, std::string& bytes) override {
        bytes.resize(count);
        std::size_t done = 0;
        while (done < count) {
            OVERLAPPED at{};
            const std::uint64_t position = offset + done;
            at.Offset = static_cast<DWORD>(position);
            at.OffsetHigh = static_cast<DWORD>(position >> 32);
            const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 24));
            DWORD read = 0;
            if (!::ReadFile(file_.get(), bytes.data() + done, asked, &read, &at)) {
                const FileResult error = LastError();
                bytes.clear();
                return error;
            }
            if (read == 0) {
                bytes.clear();
                return FileResult{kErrorHandleEof};
            }
            done += read;
        }
        return {};
    }

private:
    basAPI::UniqueFile file_;
    std::uint64_t size_;
};

}  // namespace

std::unique_ptr<ReadableFile> Win32FileSystem::OpenToRead(const std::string& path, FileResult& error) {
    error = {};
    basAPI::UniqueFile file(::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        error = LastError();
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(file.get(), &facts)) {
        error = LastError();
        return nullptr;
    }
    if (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = FileResult{ERROR_ACCESS_DENIED};
        return nullptr;
    }
    const std::uint64_t size = (static_cast<std::uint64_t>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
    return std::make_unique<Win32ReadableFile>(std::move(file), size);
}

FileResult Win32FileSystem::MoveItem(const std::string& from, const std::string& to) {
    return ::MoveFileExW(basAPI::Widen(from).c_str(), basAPI::Widen(to).c_str(), 0) ? FileResult{} : LastError();
}

}  // namespace reelwright::win
