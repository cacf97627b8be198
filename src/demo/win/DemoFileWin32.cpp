// The demo file on Windows: CreateFileW on the wide path, ReadFile, and the
// size and last write time from the open handle.
#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "core/win/basAPI.h"
#include "demo/DemoFile.h"

namespace reelwright {
namespace {

// The time in the zone and daylight-saving rule of the machine at that moment,
// as the shell shows a file's date.
std::optional<LocalTime> LocalTimeOf(const FILETIME& stamp) {
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!::FileTimeToSystemTime(&stamp, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return std::nullopt;
    return LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
}

class Win32DemoFile final : public DemoFileInput {
public:
    Win32DemoFile(basAPI::UniqueHandle file, const BY_HANDLE_FILE_INFORMATION& facts)
        : file_(std::move(file)),
          size_((std::uint64_t{facts.nFileSizeHigh} << 32) | facts.nFileSizeLow),
          written_(LocalTimeOf(facts.ftLastWriteTime)) {}

    std::size_t Read(char* into, std::size_t count) override {
        std::size_t got = 0;
        while (got < count && !failed_) {
            const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count - got, std::numeric_limits<DWORD>::max()));
            DWORD read = 0;
            if (!::ReadFile(file_.get(), into + got, ask, &read, nullptr)) {
                failed_ = true;
            } else if (read == 0) {
                break;
            }
            got += read;
        }
        return got;
    }
    bool Failed() const override { return failed_; }
    std::uint64_t Size() const override { return size_; }
    std::optional<LocalTime> Written() const override { return written_; }

private:
    basAPI::UniqueHandle file_;
    std::uint64_t size_;
    std::optional<LocalTime> written_;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<DemoFileInput> OpenDemoFile(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos) return nullptr;
    const HANDLE opened =
        ::CreateFileW(basAPI::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return nullptr;
    basAPI::UniqueHandle file(opened);
    // A device or a pipe ("NUL", "\\.\pipe\x") is no file: its reads could wait forever.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) return nullptr;
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(file.get(), &facts) || (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    return std::make_unique<Win32DemoFile>(std::move(file), facts);
}

}  // namespace reelwright
