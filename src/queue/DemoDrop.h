// Files and folders dropped onto the queue: each dropped demo file, and every
// demo file below a dropped folder, is added by Add's rules.
#pragma once

#include <cstddef>
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

struct DroppedDemoFiles {
    // Full paths of the demo files, in the order they are added.
    std::vector<std::string> demos;
    // Dropped files (not folders) that are not demo files.
    std::size_t notDemos = 0;
};

// The demo files that the dropped paths stand for, in the order given: a
// dropped demo file itself; for a dropped folder every demo file below it,
// the files of each folder in natural name order before its sub-folders, which
// follow in the same order. Files inside dropped folders that are not demo
// files are simply left out; dropped ones are counted.
DroppedDemoFiles ExpandDroppedPaths(FileSystem& files, const std::vector<std::string>& dropped);

struct DropDemosResult {
    AddDemosResult add;
    std::size_t notDemos = 0;

    bool AllAdded() const { return add.AllAdded() && notDemos == 0; }
};

// Add's message about the refused files, with one more line for dropped files
// that are not demo files; empty when everything was added.
std::string DropMessage(const DropDemosResult& result, std::string_view gameFolder);

// Reads the game folder, expands the dropped paths and appends their demo
// files at the end of the queue by Add's rules, up to the queue's limit. What
// was not added is told in one exclamation message with Add's title. A
// failing settings store throws std::runtime_error before anything is added.
DropDemosResult DropDemos(AppServices& services, DemoQueue& queue, const std::vector<std::string>& dropped);

}  // namespace reelwright
