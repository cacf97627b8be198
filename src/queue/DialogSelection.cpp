#include "queue/DialogSelection.h"

namespace reelwright {

std::string DemoSelection::FilePath(std::size_t index) const {
    // A single file's location is already its full path; several files always
    // come as two or more names.
    if (names.size() == 1) return location;
    // The folder as the dialog gave it: a drive root already ends in "\".
    if (!location.empty() && location.back() == '\\') return location + names.at(index);
    return location + "\\" + names.at(index);
}

std::vector<std::string> SplitAtNul(std::string_view text) {
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\0', start);
        if (end == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

DemoSelection ReadDialogSelection(const OpenFileResult& result) {
    std::vector<std::string> pieces = SplitAtNul(result.selection);
    DemoSelection selection;
    if (pieces.size() == 1) {
        selection.location = std::move(pieces[0]);
        selection.names.push_back(result.fileTitle);
    } else if (pieces.size() >= 3) {
        selection.location = std::move(pieces[0]);
        selection.names.assign(std::make_move_iterator(pieces.begin() + 1), std::make_move_iterator(pieces.end()));
    }
    return selection;
}

}  // namespace reelwright
