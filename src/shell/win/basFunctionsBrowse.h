// The platform's folder picker.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace basFunctions {

// Shows the folder picker (only file-system folders can be confirmed) owned by
// `owner`, starting at the desktop, with `title` above the tree. Returns the
// chosen folder's path, or the empty text when nothing usable was chosen.
std::string BrowseForFolder(HWND owner, const std::string& title);

// As BrowseForFolder, but tells a picker that could not be shown at all
// (nothing) apart from a cancel (the empty text).
std::optional<std::string> TryBrowseForFolder(HWND owner, const std::string& title);

}  // namespace basFunctions
