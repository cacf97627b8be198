// Reelwright.exe's entry point.
#include <windows.h>

#include "app/win/basStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    return basStartup::Main(commandLine ? commandLine : L"");
}
