#include "launch/GameFolderRights.h"

#include <algorithm>

#include "script/basBuildConfigs.h"

namespace reelwright {

bool ShouldOfferElevation(const std::vector<FolderOutcome>& failed) {
    return std::any_of(failed.begin(), failed.end(), [](const FolderOutcome& outcome) { return outcome.AccessDenied(); });
}

std::string ElevationQuestionText(const std::vector<FolderOutcome>& failed) {
    std::string text = failed.size() == 1 ? "This game folder needs" : "These game folders need";
    text += " administrator rights to receive the playback script:\r\n\r\n";
    for (const FolderOutcome& outcome : failed) text += outcome.folder + "\r\n";
    text +=
        "\r\nWould you like Reelwright to place the script there with administrator rights? Windows will ask you "
        "to allow it once.";
    return text;
}

std::string PlacementFailureText(const std::vector<FolderOutcome>& failed, FileSystem& files, bool helperRefused) {
    std::string text = "The playback script could not be placed in ";
    text += failed.size() == 1 ? "this game folder" : "these game folders";
    text += ", so the demo keys will not step through the queue:\r\n";
    for (const FolderOutcome& outcome : failed) {
        text += "\r\n" + outcome.folder + "\r\n";
        if (!outcome.copy) {
            const std::string& file = outcome.failedFile.empty() ? std::string(kScriptFileName) : outcome.failedFile;
            text += "    " + file + " could not be written: " + files.ErrorText(outcome.copy.error) + ".\r\n";
            // A later part of the chain only holds entries: the keys come from
            // the first part, and the older part brings an earlier launch's demos.
            if (outcome.staleScript)
                text += file == kScriptFileName
                            ? "    The " + file +
                                  " already there is out of date: its keys step through the demos of an earlier "
                                  "launch.\r\n"
                            : "    The " + file + " already there is out of date: it holds demos of an earlier "
                                                    "launch.\r\n";
        }
        if (!outcome.attribute)
            text += "    SOF2MP.cfg could not be made read-only: " + files.ErrorText(outcome.attribute.error) + ".\r\n";
    }
    if (helperRefused) text += "\r\n" + std::string(kHelperRefusedNote) + "\r\n";
    text += "\r\n";
    text += kStartAnywayQuestion;
    return text;
}

}  // namespace reelwright
