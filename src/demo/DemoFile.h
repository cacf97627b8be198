// A demo file opened for reading through the system's own file access: its
// bytes as the reader's input, and its size and last write time taken from
// the same open. Windows opens it with CreateFileW (src/demo/win/), other
// systems with open(2); neither needs the C++ stream or file-system library.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "demo/DemoRecords.h"

namespace reelwright {

// A moment in the local time of the machine that read it.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;
    int hour = 0;
    int minute = 0;
    bool operator==(const LocalTime&) const = default;
};

class DemoFileInput : public DemoInput {
public:
    // The file's size and last write time when it was opened.
    virtual std::uint64_t Size() const = 0;
    virtual std::optional<LocalTime> Written() const = 0;
};

// Opens the file at `path` (UTF-8; "\" or "/" between folders on Windows)
// for reading, letting others read, write, rename and delete it meanwhile.
// Nothing when it cannot be opened, or is not a file.
std::unique_ptr<DemoFileInput> OpenDemoFile(std::string_view path);

}  // namespace reelwright
