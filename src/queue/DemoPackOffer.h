// The question before a zip pack of demos is unpacked into the game: asked
// by the direct playback, Add and drops alike, then the unpack with progress.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/AppServices.h"
#include "core/DemoPlace.h"
#include "queue/DemoCopy.h"

namespace reelwright {

inline constexpr const char* kPackProgressTitle = "Reelwright - Copy demo";

struct UnpackedDemo {
    DemoPlace place;     // below the game folder
    std::string target;  // the full path of the file
};

struct PackOfferResult {
    // The user answered No: the pack is refused as any file that is not a demo.
    bool declined = false;
    // The demos unpacked, in the pack's natural order; empty when the user
    // declined, cancelled, or was told why nothing could be unpacked.
    std::vector<UnpackedDemo> demos;
};

// Plans the pack and asks once; Yes unpacks with progress. A pack that cannot
// be unpacked, holds no demo, or fails while unpacking is told with the
// reason (nothing is left of it); a cancel leaves nothing and says nothing.
PackOfferResult OfferDemoPack(AppServices& services, std::string_view gameFolder, const std::string& packPath,
                              CopyGoal goal);

}  // namespace reelwright
