// Windows redirects the writes of old programs (those without a manifest that
// declares their rights, as the game is) below some machine-wide folders into
// the user's own copy, "%LOCALAPPDATA%\VirtualStore\<the path without its
// drive>"; from then on the program reads that copy. A config below such a
// folder may therefore live in the user's copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reelwright {

struct VirtualisedFolders {
    std::vector<std::string> folders;  // Program Files, Program Files (x86), the Windows folder, ProgramData
    std::string localAppData;          // the user's local application data folder
};

// The user's copy of `path` when it lies below one of the virtualised
// folders; nothing otherwise.
std::optional<std::string> VirtualStorePath(std::string_view path, const VirtualisedFolders& where);

}  // namespace reelwright
