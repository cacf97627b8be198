#include "launch/ScriptPlacing.h"

#include <algorithm>

#include "core/GameFolder.h"
#include "core/GameShell.h"

namespace reelwright {

FolderOutcome PlaceScriptInFolder(FileSystem& files, const std::string& gameFolder, const std::string& gameType,
                                  const std::vector<basBuildConfigs::ScriptPart>& parts,
                                  const std::optional<std::string>& copiedFrom) {
    FolderOutcome outcome;
    outcome.gameType = gameType;
    outcome.folder = JoinFolder(gameFolder, gameType);
    if (files.FileExists(JoinFolder(outcome.folder, kGameExecutable))) {
        outcome.attribute = files.SetReadOnly(JoinFolder(outcome.folder, kGameConfigFileName));
        if (outcome.attribute.error == kErrorFileNotFound) outcome.attribute = {};
    }
    const std::size_t partCount = std::max<std::size_t>(parts.size(), 1);
    for (std::size_t part = 0; part < partCount; ++part) {
        const std::string fileName = basBuildConfigs::ScriptPartFileName(part + 1);
        const std::string target = basBuildConfigs::DemoConfigPath(outcome.folder, fileName);
        if (parts.empty())
            outcome.copy = FileResult{kErrorFileNotFound};
        else if (copiedFrom)
            outcome.copy =
                files.CopyFileOver(basBuildConfigs::DemoConfigPath(*copiedFrom, parts[part].fileName), target);
        else
            outcome.copy = files.WriteAnsiTextFile(target, parts[part].text);
        if (!outcome.copy) {
            outcome.failedFile = fileName;
            outcome.staleScript = files.FileExists(target);
            break;
        }
    }
    return outcome;
}

}  // namespace reelwright
