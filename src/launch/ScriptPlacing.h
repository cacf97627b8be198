// Placing the playback script in a game-type folder with the user's own
// rights, and what came of it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

// The outcome of placing the script in one game-type folder.
struct FolderOutcome {
    std::string gameType;
    std::string folder;        // game folder + "\" + game type
    FileResult attribute;      // making SOF2MP.cfg read-only
    FileResult copy;           // placing the script's files: the first failure
    std::string failedFile;    // the file whose copy failed ("Reelwright.cfg", "Reelwright2.cfg", ...)
    bool staleScript = false;  // the copy failed and an older file of that name is there

    bool Failed() const { return !attribute || !copy; }
    bool AccessDenied() const { return attribute.error == kErrorAccessDenied || copy.error == kErrorAccessDenied; }
};

// Places the script's files in one game-type folder: makes its SOF2MP.cfg
// read-only when the folder holds its own SOF2MP.exe (a missing SOF2MP.cfg is
// nothing to protect and no failure), then places each of `parts` at folder +
// "\Reelwright.cfg", "\Reelwright2.cfg", ...: a copy of the file of the same
// name in `copiedFrom` when the script was written there, otherwise the
// part's text written directly. Without any part (the script could not be
// made) the first file fails as not found. The first failed file ends the
// folder's placing (the chain is broken there); it then tests for an older
// file of that name.
FolderOutcome PlaceScriptInFolder(FileSystem& files, const std::string& gameFolder, const std::string& gameType,
                                  const std::vector<basBuildConfigs::ScriptPart>& parts,
                                  const std::optional<std::string>& copiedFrom);

}  // namespace reelwright
