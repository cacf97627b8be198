// The DPI functions of Windows 10, looked up at run time so that the program
// also starts on Windows 7 and 8.1, where each falls back to what those
// systems offer: one system DPI for every window, read from the screen.
#pragma once

#include <windows.h>

namespace reelwright::win {

// The DPI of the screen (LOGPIXELSY of the screen's device context).
int SystemDpi();

// GetDpiForWindow; the system DPI where it is missing or gives nothing.
int DpiForWindow(HWND window);

// AdjustWindowRectExForDpi; AdjustWindowRectEx where it is missing.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, int dpi);

// GetSystemMetricsForDpi; GetSystemMetrics scaled from the system DPI where it
// is missing.
int SystemMetricForDpi(int index, int dpi);

// Makes this process aware of each monitor's DPI (per-monitor v2 where the
// system has it, then per-monitor, then system aware). The program itself
// says so in its manifest; test programs have none.
void MakeProcessDpiAware();

}  // namespace reelwright::win
