// Asks the user for the game folder, accepts it only when it holds the game's
// executable, and stores it as "SOF2 Path".
#pragma once

#include "core/AppServices.h"

namespace reelwright {

inline constexpr const char* kBrowseGameFolderTitle = "Locate your SOF2 Directory";
inline constexpr const char* kInvalidGameFolderTitle = "Reelwright - Invalid SOF2MP.exe location";
inline constexpr const char* kInvalidGameFolderText =
    "The directory you have specified does not contain the SOF2MP.exe file.";

inline constexpr const char* kGameFolderSetupTitle = "Reelwright - SOF2 Folder Setup";
inline constexpr const char* kPickerUnavailableText =
    "The folder picker could not be shown, so the SOF2 folder has not been changed.";
inline constexpr const char* kFileTestUnavailableText =
    "Reelwright could not check the chosen folder for SOF2MP.exe, so the SOF2 folder has not been changed.";
inline constexpr const char* kGameFolderNotSavedText = "The SOF2 folder could not be saved.";

// Shows the folder picker until the user picks a folder holding the file
// "SOF2MP.exe" whose path the game's command line can carry (stored exactly
// as picked) or cancels (nothing stored). A
// picker or file test that cannot be used at all (its seam throws) ends the
// setup with a message and nothing stored. A failing store write propagates.
void SetupSOF2Folder(AppServices& services);

}  // namespace reelwright
