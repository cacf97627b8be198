// Moving files to the Recycle Bin with the shell's own file operation (which
// the user can undo from the Recycle Bin).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace reelwright::win {

// Moves the files to the Recycle Bin without asking again (the caller has
// asked); a failure is told by the shell in its own box, owned by `owner`.
// True when the operation ran to its end and was not cancelled.
bool MoveToRecycleBin(HWND owner, const std::vector<std::string>& paths);

}  // namespace reelwright::win
