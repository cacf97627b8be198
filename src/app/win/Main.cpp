// Reelwright.exe's entry point.
#include <windows.h>

#include <cstdlib>

#include "app/win/basStartup.h"

#if defined(__GLIBCXX__)
// GCC's library ends a program on an uncaught exception through a handler
// that prints the exception's demangled type to the standard error, which a
// windowed program does not have; defining the handler here keeps that
// handler and its demangler (about 50 KB) out of the program. Every handler
// of the program catches what it can report; what still escapes ends the
// program as before.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    basStartup::KeepDllsToTheSystemFolder();
    return basStartup::Main(commandLine ? commandLine : L"");
}
