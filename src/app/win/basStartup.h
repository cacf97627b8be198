// The program's entry: single instance, splash or main window, message loop.
#pragma once

#include <windows.h>

#include <string>

namespace basStartup {

// Keeps every DLL that the process loads from here on to the system folder,
// never the program's own folder (where another program of the user may
// have put one beside a copy that runs with administrator rights):
// SetDefaultDllDirectories, looked up at run time because Windows 7 has it
// only with a later update, or else at least not the current folder. Called
// first thing, before anything else of the program runs.
void KeepDllsToTheSystemFolder();

// Runs the program with the command-line tail the system gave; returns the
// process exit code.
int Main(const std::wstring& commandLineTail);

}  // namespace basStartup
