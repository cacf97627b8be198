// The demo file on POSIX systems (the native builds of the tests, the
// benchmarks and the fuzz targets); Windows has its own in src/demo/win/.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>

#include "demo/DemoFile.h"

namespace reelwright {
namespace {

class PosixDemoFile final : public DemoFileInput {
public:
    PosixDemoFile(int descriptor, const struct stat& facts) : descriptor_(descriptor), size_(facts.st_size) {
        std::tm local{};
        const std::time_t seconds = facts.st_mtime;
        if (localtime_r(&seconds, &local))
            written_ = LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
    }
    ~PosixDemoFile() override { ::close(descriptor_); }
    PosixDemoFile(const PosixDemoFile&) = delete;
    PosixDemoFile& operator=(const PosixDemoFile&) = delete;

    std::size_t Read(char* into, std::size_t count) override {
        std::size_t got = 0;
        while (got < count && !failed_) {
            const ssize_t read = ::read(descriptor_, into + got, count - got);
            if (read > 0) {
                got += static_cast<std::size_t>(read);
            } else if (read == 0) {
                break;
            } else if (errno != EINTR) {
                failed_ = true;
            }
        }
        return got;
    }
    bool Failed() const override { return failed_; }
    std::uint64_t Size() const override { return size_; }
    std::optional<LocalTime> Written() const override { return written_; }

private:
    int descriptor_;
    std::uint64_t size_;
    std::optional<LocalTime> written_;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<DemoFileInput> OpenDemoFile(std::string_view path) {
    if (path.find('\0') != std::string_view::npos) return nullptr;
    const std::string terminated(path);
    const int descriptor = ::open(terminated.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat facts {};
    if (::fstat(descriptor, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    return std::make_unique<PosixDemoFile>(descriptor, facts);
}

}  // namespace reelwright

#endif
