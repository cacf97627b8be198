// The first run (no game folder stored): ask for the game folder, then offer
// to open ".dm_2004" files with Reelwright.
#pragma once

#include <string>

#include "core/AppServices.h"
#include "app/MainWindowLoad.h"

namespace reelwright {

inline constexpr const char* kFirstRunTitle = "Reelwright - SOF2 Folder Setup";
inline constexpr const char* kFirstRunText =
    "It would appear this is the first time you are running Reelwright.\r\n\r\nCould you please specify your SOF2 Path";
inline constexpr const char* kAssociationPromptTitle = "Reelwright - File Association";
inline constexpr const char* kAssociationPromptText = "Would you like to associate .dm_2004 with Reelwright?";

// Does nothing when `gameFolder` is set. Otherwise shows the first-run prompt
// (Cancel: EndProgram, nothing stored), runs the game folder setup, and asks
// about the association (Yes: registers it and stores "Associate" = "1" when
// the association is ours afterwards, "0" otherwise).
// Like the rest of the load, a failing step is skipped silently.
LoadOutcome RunFirstRunSetup(AppServices& services, const std::string& gameFolder);

}  // namespace reelwright
