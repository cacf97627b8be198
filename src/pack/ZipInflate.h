// Unpacking one entry of a zip file with zlib (raw deflate) or as stored,
// counting the bytes it really gives rather than trusting the size its
// directory entry claims, and checking its CRC-32.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/FileSystem.h"
#include "pack/ZipDirectory.h"

namespace reelwright {

enum class InflateOutcome {
    Done,         // the bytes are whole: as long as claimed, and the CRC agrees
    TooLarge,     // it gives more than the limit
    Damaged,      // the data is not valid deflate, ends early, or its size or CRC disagrees
    Unsupported,  // neither stored nor deflated
    ReadFailed,   // the file could not be read (the system's error is given)
    Stopped,      // `keepGoing` said to stop
};

// Called after each piece with the bytes unpacked so far; false stops.
using InflateProgress = std::function<bool(std::uint64_t unpacked)>;

struct InflateResult {
    InflateOutcome outcome = InflateOutcome::Done;
    std::uint32_t readError = 0;
};

// Unpacks the entry whose data starts at `dataOffset` into `bytes`, giving up
// as soon as more than `limit` bytes come out. The compressed data read is
// the entry's compressed size, never more.
InflateResult InflateZipEntry(ReadableFile& file, const ZipEntry& entry, std::uint64_t dataOffset, std::uint64_t limit,
                              std::string& bytes, const InflateProgress& keepGoing = {});

// The unpacked beginning of an entry, at most `count` bytes, for a look at it
// before the whole is unpacked; nothing when its data is damaged there.
bool InflateZipEntryStart(ReadableFile& file, const ZipEntry& entry, std::uint64_t dataOffset, std::size_t count,
                          std::string& bytes);

}  // namespace reelwright
