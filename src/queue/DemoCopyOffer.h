// The question before demos from outside the game's "demos" folders are
// copied in: one question for all of them, asked by the direct playback, Add
// and drops alike.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/AppServices.h"
#include "queue/DemoCopy.h"
#include "queue/DemoQueue.h"

namespace reelwright {

struct CopyOfferResult {
    // The sources refused as before: the user declined to copy them, or
    // there is no such file.
    std::vector<std::string> refused;
    // The copies made (or files of the same bytes found), in the sources' order.
    std::vector<DemoCopyPlan> copies;
};

// Plans the copies of `sources`; a source that does not exist is refused as
// before. Tells of sources that cannot be read otherwise and of
// copies whose names the game could not take after `queue` (both with
// `errorTitle`, and left out), then asks once. Yes: makes the copies, or
// tells why none could be made; No: gives the sources back as refused.
CopyOfferResult OfferDemoCopies(AppServices& services, std::string_view gameFolder,
                                const std::vector<std::string>& sources, CopyGoal goal, const DemoQueue& queue,
                                const std::string& errorTitle);

}  // namespace reelwright
