// Shell helpers of the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace basFunctions {

// Asks the shell to "open" `file` with `parameters` in `directory`, with
// ShellExecuteExW and no error box of the shell's own. Returns 0 when the
// program was started, otherwise GetLastError's code.
DWORD ShellOpen(HWND owner, const std::string& file, const std::string& parameters, const std::string& directory,
                int showMode);

}  // namespace basFunctions
