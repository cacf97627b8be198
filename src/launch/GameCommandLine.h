// The command lines with which the game is started, and the texts at the
// boundary with the game that several windows share.
#pragma once

#include <string>
#include <string_view>

#include "core/DemoPlace.h"

namespace reelwright {

// In all parameters, the game folder is given as GameFolderForGame makes it
// (no trailing separator, except for a drive root: "D:\").

// The direct playback's parameters for the demo at `place` (an accepted one,
// found by Add's rule, CheckDemoFileForQueue), with its game type T and name D:
// +set fs_basepath "<G>" +set fs_game <T>+demo "<D>"
std::string DirectPlaybackParameters(std::string_view gameFolder, const DemoPlace& place);

// Launch's parameters for one queued demo; " <optional>" follows only when the
// trimmed optional parameters are not empty, and the name is enclosed in
// double quotes when the console would split it (NameNeedsQuotes):
// +set fs_basepath "<G>" +set fs_game <T>+demo <name>[ <optional>]
std::string OneDemoParameters(std::string_view gameFolder, std::string_view gameType, std::string_view name,
                              std::string_view optionalParameters);

// Launch's parameters for two or more queued demos:
// +set fs_basepath "<G>" +set fs_game <T>+demo <name>+exec Reelwright.cfg
std::string ManyDemosParameters(std::string_view gameFolder, std::string_view gameType, std::string_view name);

// The demo path in a command-line tail: the tail trimmed, and its first and
// last characters dropped when both are double quotes (as the file
// association passes it), then trimmed again.
std::string DemoPathFromCommandLineTail(std::string_view tail);

}  // namespace reelwright
