// Unpacking a planned pack: every demo is unpacked into a hidden ".partial"
// folder beside its pack folder and checked (its size as unpacked, its
// CRC-32, the limits); only when all are sound are the ".partial" folders
// renamed into place. A damaged pack, a failed write or a cancel removes
// every file and folder the unpack made, so nothing of the pack is left.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/FileSystem.h"
#include "queue/DemoPack.h"

namespace reelwright {

inline constexpr const char* kPartialSuffix = ".partial";
inline constexpr std::uint32_t kAttributeHidden = 0x2;

// Told how many bytes are unpacked of how many the pack claims; false cancels.
using PackProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

enum class UnpackOutcome { Done, Failed, Cancelled };

struct PackUnpackResult {
    UnpackOutcome outcome = UnpackOutcome::Done;
    std::string problem;  // Failed: why, as PackPlan::problem
    std::string detail;   // the entry or the path concerned, with its reason
};

PackUnpackResult UnpackPack(FileSystem& files, std::string_view gameFolder, PackPlan& plan,
                            const PackProgress& progress);

}  // namespace reelwright
