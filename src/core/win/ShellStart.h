// Starting a program through the shell (ShellExecuteExW), as the game's
// start, the shell's "open" and the start with rights all do.
#pragma once

#include <windows.h>

#include <string>

#include "core/win/basAPI.h"

namespace reelwright::win {

struct ShellStart {
    // 0 when the program was started; otherwise the system's code, never 0.
    DWORD error = 0;
    // The started process, when it was asked for and the shell gave one.
    basAPI::UniqueHandle process;
};

// Starts `file` with `verb` ("open", "runas"), `parameters` and `directory`,
// shown as `showMode`, without an error box of the shell's own; `owner` owns
// whatever the shell shows. `keepProcess` asks for the process's handle.
ShellStart StartThroughShell(HWND owner, const wchar_t* verb, const std::wstring& file, const std::wstring& parameters,
                             const std::wstring& directory, int showMode, bool keepProcess);

}  // namespace reelwright::win
