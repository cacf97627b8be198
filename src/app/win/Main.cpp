// Reelwright.exe's entry point.
#include <windows.h>

#include "app/win/basStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    basStartup::KeepDllsToTheSystemFolder();
    return basStartup::Main(commandLine ? commandLine : L"");
}
