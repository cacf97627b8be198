#include "queue/DemoDetails.h"

#include <chrono>
#include <ctime>
#include <system_error>

#include "core/GameFolder.h"

namespace reelwright {

namespace {

std::optional<LocalTime> ToLocalTime(std::filesystem::file_time_type stamp) {
    const auto system = std::chrono::file_clock::to_sys(stamp);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(system));
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0) return std::nullopt;
#else
    if (!localtime_r(&seconds, &local)) return std::nullopt;
#endif
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

}  // namespace

std::string DemoFileOfEntry(std::string_view gameFolder, const DemoQueueEntry& entry) {
    const std::string gameTypeFolder =
        entry.GameType.empty() ? std::string(GameFolderForJoining(gameFolder)) : JoinFolder(gameFolder, entry.GameType);
    return JoinFolder(JoinFolder(gameTypeFolder, "demos"), entry.Name);
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

DemoDetails ReadDemoDetails(const std::filesystem::path& file) {
    DemoDetails details;
    details.head = ReadDemoHead(file);
    // A file that does not begin as a demo is not read any further.
    if (details.head.Readable()) details.length = ReadDemoLength(file);
    std::error_code error;
    if (const auto size = std::filesystem::file_size(file, error); !error) details.size = size;
    if (const auto stamp = std::filesystem::last_write_time(file, error); !error) details.written = ToLocalTime(stamp);
    return details;
}

}  // namespace reelwright
