// The helper mode "/copy-script": a second start of the program, with
// administrator rights, that copies a script written by the first one into
// game-type folders the user cannot write. Its command line is built by
// Launch and read back here. Before anything is touched the helper reads its
// source once and accepts it only when it is byte for byte a script of this
// program, checks that the game folder is a folder of a local fixed drive
// holding the game, and holds open, without following links, every folder
// from the game folder down to each target and every file it will change, so
// that nothing can be swapped in before the writes end. A script in several
// parts passes its later parts after the marker "/parts", in order; each is
// read the same way and the chain is accepted only when it is exactly the
// parts this program writes for the script they make together.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CommandLine.h"
#include "core/FileSystem.h"
#include "script/basBuildConfigs.h"

namespace reelwright {

inline constexpr const char* kCopyScriptSwitch = "/copy-script";
inline constexpr const char* kLaterPartsMarker = "/parts";

// Exit codes of the helper.
inline constexpr int kHelperSucceeded = 0;
inline constexpr int kHelperRefused = 1;     // command line or checks refused: nothing touched
inline constexpr int kHelperStepFailed = 2;  // a copy or an attribute change failed

struct CopyScriptRequest {
    std::string source;                  // the temporary script (its first part)
    std::string gameFolder;              // holds SOF2MP.exe
    std::vector<std::string> gameTypes;  // folders below the game folder, as queued
    std::vector<std::string> laterParts;  // temporary files of the second, third, ... part, in order

    friend bool operator==(const CopyScriptRequest&, const CopyScriptRequest&) = default;
};

// "/copy-script" followed by the quoted source, game folder and game types,
// then, for a script in parts, "/parts" and the later parts' files.
std::string BuildCopyScriptParameters(const CopyScriptRequest& request);

// True when the command line's tail asks for the helper mode.
bool IsCopyScriptCommandLine(std::string_view tail);

// The request of a helper command line; nothing when the switch or any of the
// source, the game folder and one game type is missing, or when "/parts" is
// followed by no file.
std::optional<CopyScriptRequest> ParseCopyScriptParameters(std::string_view tail);

// The largest source the helper reads: above the largest script Launch can
// write (32 767 entries of a demo name and a game-type path each).
inline constexpr std::size_t kCopyScriptSourceLimit = std::size_t{64} << 20;

enum class CopyScriptCheck {
    Accepted,
    NotALocalGameFolder,      // not "X:\..." on a fixed drive of this machine
    TargetOutsideGameFolder,  // a game type that is not a plain path below the game folder
    ForeignSource,            // a part is a link, too large, or the parts are not exactly a script of ours
    GameTypeNotInScript,      // a game type that no entry of the script plays
    NoGameExecutable,         // the game folder holds no SOF2MP.exe as a regular file
    LinkInTheWay,             // a folder or file on the way is a link, a directory where a file
                              // belongs, hard-linked, or its final path is not where it was named
};

// The helper's checks without the writes: everything is opened and released.
CopyScriptCheck CheckCopyScriptRequest(FileSystem& files, const CopyScriptRequest& request);

// The helper mode's whole run for the command line's tail: parse and check,
// then, with everything still held, for every game type the attribute change
// and the script's bytes as they were read and checked. Its exit code.
int RunCopyScriptHelper(FileSystem& files, std::string_view tail);

}  // namespace reelwright
