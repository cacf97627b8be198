// Files and folders dropped onto the queue: each dropped demo file, and every
// demo file below a dropped folder, is added by Add's rules.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/AppServices.h"
#include "core/FileSystem.h"
#include "queue/DemoAdd.h"
#include "queue/DemoQueue.h"

namespace reelwright {

// Whether a file name ends in ".dm_2004", in any letter case.
bool IsDemoFileName(std::string_view name);

// Whether demo files of the game can lie in `folder` or below it: it lies
// inside the game folder, is the game folder, or lies on the way to it (the
// game folder lies inside it). Both are taken as the system opens them
// (WithoutDotSteps); letter case does not matter. No folder qualifies
// without a game folder.
bool MayHoldDemos(std::string_view gameFolder, std::string_view folder);

// Called for each demo file a drop stands for, with its full path; returns
// false to end the walk (the queue is full).
using DemoFileFound = std::function<bool(const std::string& path)>;

struct DropWalk {
    // Dropped files (not folders) that are not demo files.
    std::size_t notDemos = 0;
    // Dropped folders that are links to other places: not entered.
    std::size_t links = 0;
    // `found` ended the walk.
    bool stopped = false;
};

// Walks the dropped paths in the order given: a dropped demo file itself
// (its "." and ".." steps resolved); for a dropped folder its demo files, in
// natural name order, then its sub-folders in the same order, depth first.
// Only folders that MayHoldDemos are entered below a dropped folder, so a
// folder outside the game folder gives only the demo files right inside it;
// links are never entered. Files inside folders that are not demo files are
// simply left out; dropped ones are counted.
DropWalk WalkDroppedPaths(FileSystem& files, std::string_view gameFolder, const std::vector<std::string>& dropped,
                          const DemoFileFound& found);

struct DropDemosResult {
    AddDemosResult add;
    std::size_t notDemos = 0;
    std::size_t links = 0;
    // The queue filled up: the walk stopped there.
    bool queueFull = false;

    bool AllAdded() const { return add.AllAdded() && notDemos == 0 && links == 0 && !queueFull; }
};

// Add's message about the refused files, with more lines for a full queue,
// for dropped files that are not demo files and for dropped links; empty
// when everything was added.
std::string DropMessage(const DropDemosResult& result, std::string_view gameFolder);

// Reads the game folder, walks the dropped paths and appends their demo files
// at the end of the queue by Add's rules, until the queue is full. Without a
// game folder nothing is walked: every dropped path is refused for that. What
// was not added is told in one exclamation message with Add's title. A
// failing settings store throws std::runtime_error before anything is added.
DropDemosResult DropDemos(AppServices& services, DemoQueue& queue, const std::vector<std::string>& dropped);

}  // namespace reelwright
