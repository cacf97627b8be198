// Reading the open-file dialog's result: one full path, or a folder followed
// by the chosen file names, all separated by NUL characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/UserPrompts.h"

namespace reelwright {

// The files of one answer of the open-file dialog.
struct DemoSelection {
    // One file: its full path. Several files: the folder they lie in, as the
    // dialog gives it.
    std::string location;
    // The chosen file names without their folder, in the dialog's order;
    // empty when nothing usable was chosen.
    std::vector<std::string> names;

    bool Empty() const { return names.empty(); }
    // The full path of the i-th chosen file.
    std::string FilePath(std::size_t index) const;
};

// Splits the text at every NUL character; the empty text gives no pieces.
// NULs at the very end terminate the text and are not separators.
std::vector<std::string> SplitAtNul(std::string_view text);

// One piece: a single file, named by the dialog's file title. Three or more:
// the folder and its files. No piece or exactly two pieces: nothing.
DemoSelection ReadDialogSelection(const OpenFileResult& result);

}  // namespace reelwright
