// The running program's own executable, held open from the start so that no
// one can change, delete or rename it while the program runs: copies made
// for the elevated helper are read from this handle.
#pragma once

#include <optional>
#include <string>

namespace reelwright::win {

// Opens the program's file to read, letting others read it only. Called once
// at start; a file that cannot be opened leaves nothing held.
void HoldOwnProgramFile();

// The held file's bytes; nothing when it is not held or cannot be read.
std::optional<std::string> ReadOwnProgramFile();

}  // namespace reelwright::win
