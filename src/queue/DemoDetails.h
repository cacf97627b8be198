// What the queue shows about each demo's file beyond its name: the demo's
// head and length as the demo reader gives them, the file's size and the time
// it was last written. Details are read away from the window and kept under
// the entry's id, so that they follow their entry wherever it moves.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "demo/DemoReader.h"
#include "queue/DemoQueue.h"

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

struct DemoDetails {
    DemoHead head;
    DemoLength length;
    std::optional<std::uintmax_t> size;
    std::optional<LocalTime> written;

    // Why the file cannot be shown as a demo: the head's reason, else the
    // length's; None when both were read.
    DemoReadRefusal Refusal() const {
        return head.refusal != DemoReadRefusal::None ? head.refusal : length.refusal;
    }
    bool Readable() const { return Refusal() == DemoReadRefusal::None; }
};

// The details read so far; an entry whose id is missing is still pending.
using DemoDetailsTable = std::unordered_map<DemoQueue::EntryId, DemoDetails>;

// The file the game plays for an entry: <game folder>\<GameType>\demos\<Name>
// (an entry's Path is only its folder when several files were added at once).
std::string DemoFileOfEntry(std::string_view gameFolder, const DemoQueueEntry& entry);

// A UTF-8 path as the file system takes it.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// Reads the head, the length, the size and the last write time of a file.
DemoDetails ReadDemoDetails(const std::filesystem::path& file);

}  // namespace reelwright
