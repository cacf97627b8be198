// The program's entry: single instance, splash or main window, message loop.
#pragma once

#include <windows.h>

#include <string>

namespace basStartup {

// Runs the program with the command-line tail the system gave; returns the
// process exit code.
int Main(const std::wstring& commandLineTail);

}  // namespace basStartup
