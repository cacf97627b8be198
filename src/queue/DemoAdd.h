// Add: asks the user for demo files with the open-file dialog and appends one
// queue entry per chosen file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/AppServices.h"
#include "queue/DemoQueue.h"

namespace reelwright {

inline constexpr const char* kAddDemosTitle = "Add SOF2 Demo Files for viewing...";
inline constexpr const char* kDemoFilterDescription = "SOF2 Demo Files (*.dm_2004)";
inline constexpr const char* kDemoFilterPattern = "*.dm_2004";
inline constexpr const char* kAddErrorTitle = "Reelwright - Error adding demos";

// How many of the files listed in the message by name, at most.
inline constexpr std::size_t kMaxListedFiles = 20;

// The dialog Add shows: it opens in the game folder when one is stored.
OpenFileRequest MakeAddDemosRequest(const std::string& gameFolder);

struct AddDemosResult {
    std::size_t added = 0;
    // Full paths of chosen files that were not added because no game type can
    // be taken from where they lie.
    std::vector<std::string> withoutGameType;
    // Chosen files that were not added because the queue was full.
    std::size_t beyondLimit = 0;

    bool AllAdded() const { return withoutGameType.empty() && beyondLimit == 0; }
};

// The text that tells the user which files were not added and why; empty when
// nothing was refused.
std::string NotAddedMessage(const AddDemosResult& result);

// Reads the game folder, shows the dialog and appends the chosen files in the
// dialog's order. Files without a game type and files beyond the queue's
// limit are left out and named in one exclamation message; the rest are
// added and nothing already queued is lost. A cancelled dialog adds nothing.
// A failing settings store throws std::runtime_error before the dialog shows.
AddDemosResult AddDemos(AppServices& services, DemoQueue& queue);

}  // namespace reelwright
