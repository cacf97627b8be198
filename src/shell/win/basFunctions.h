// Shell helpers of the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace basFunctions {

// Asks the shell to "Open" `file` with `parameters` in `directory`; returns the
// shell's result code (above 32 means success).
std::intptr_t ShellOpen(HWND owner, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showMode);

}  // namespace basFunctions
