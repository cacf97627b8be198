// The game folder as the program uses it. The stored value may end in a
// separator (the folder picker gives "D:\" for a drive root): the separators
// are dropped for joining paths and for the test whether a file lies inside,
// and the game is handed a drive root with its separator. The stored value
// itself is never rewritten.
#pragma once

#include <string>
#include <string_view>

namespace reelwright {

// The config the game keeps in each game-type folder (base\mp, a mod's).
inline constexpr const char* kGameConfigFileName = "SOF2MP.cfg";

// The folder without trailing separators ("\" or "/"): "D:\" gives "D:",
// "C:\Games\SOF2\" gives "C:\Games\SOF2". Joined with "\" and a relative path.
std::string_view GameFolderForJoining(std::string_view gameFolder);

// `folder` and the relative `name` joined by one "\": "D:\" and "a.dm_2004"
// give "D:\a.dm_2004", "C:\Games\SOF2" and "SOF2MP.exe" give
// "C:\Games\SOF2\SOF2MP.exe".
std::string JoinFolder(std::string_view folder, std::string_view name);

// The folder as the game is given it, for "+set fs_basepath" and the working
// directory: the joining form, except that a drive root keeps its separator
// ("D:" alone would name the drive's current folder).
std::string GameFolderForGame(std::string_view gameFolder);

// The path as the system opens it, as far as its text tells: "/" read as
// "\", and "." and ".." steps removed as the system removes them
// ("C:\Games\SOF2\..\x" gives "C:\Games\x"). A ".." at the root stays at
// the root ("C:\..\x" gives "C:\x"); the root is a drive ("C:\"), a share
// ("\\server\share\") or a lone "\". A relative path keeps the ".." steps
// it begins with, and a trailing separator stays. A path with an empty step
// ("a\\b") or a "\\?\" prefix is returned with only "/" changed.
std::string WithoutDotSteps(std::string_view path);

// True when `path` lies inside `folder`: the path begins with the folder's
// joining form, compared without regard to ASCII letter case as Windows
// compares names, and a "\" follows it at once. An empty joining form holds
// nothing.
bool IsInsideFolder(std::string_view path, std::string_view folder);

}  // namespace reelwright
