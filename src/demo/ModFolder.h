// Whether the mod a demo names (the system info's "fs_game") may be taken as
// the name of a folder in the game folder. The value comes from the file, so
// from whoever ran the server: a name that could lead anywhere else is kept
// for display only.
#pragma once

#include <cstddef>
#include <string_view>

namespace reelwright {

// The longest mod folder name taken: the engine's own limit of a game path.
inline constexpr std::size_t kLongestModFolderName = 63;

// True for one plain folder name: 1 to 63 printable ASCII characters, none
// of them one that Windows refuses in a name (<>:"/\|?*), no "..", no blank
// or dot at either end (Windows drops a trailing one and opens another
// folder), and no device name (CON, NUL, COM1, ... with any extension).
// False for the empty text as well: the game itself names no mod.
bool IsSafeModFolderName(std::string_view name);

}  // namespace reelwright
