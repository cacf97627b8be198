// What the queue shows about each demo's file beyond its name: the demo's
// head and length as the demo reader gives them, the file's size and the time
// it was last written. Details are read away from the window and kept under
// the entry's id, so that they follow their entry wherever it moves.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <unordered_map>

#include "demo/DemoFile.h"
#include "demo/DemoReader.h"
#include "queue/DemoQueue.h"

namespace reelwright {

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

// Reads the head, the length, the size and the last write time of the file
// at `path` (UTF-8), in one open and one pass; a stop asked through `stop`
// ends the read within one block of the file.
DemoDetails ReadDemoDetails(std::string_view path, std::stop_token stop = {});

}  // namespace reelwright
