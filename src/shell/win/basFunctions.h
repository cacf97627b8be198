// Shell helpers of the program: starting a program through the shell, and
// the platform's folder picker.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace basFunctions {

// Asks the shell to "open" `file` with `parameters` in `directory`, with
// ShellExecuteExW and no error box of the shell's own. Returns 0 when the
// program was started, otherwise GetLastError's code.
DWORD ShellOpen(HWND owner, const std::string& file, const std::string& parameters, const std::string& directory,
                int showMode);

// Shows the folder picker (only file-system folders can be confirmed) owned by
// `owner`, starting at the desktop, with `title` above the tree. Returns the
// chosen folder's path; the empty text when nothing usable was chosen (a
// cancel); nothing when the picker could not be shown at all.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& title);

}  // namespace basFunctions
