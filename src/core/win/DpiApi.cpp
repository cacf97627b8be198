#include "core/win/DpiApi.h"

namespace reelwright::win {

namespace {

// The address of `name` in user32.dll cast to `Function`, or nothing on a
// system that lacks it. user32 stays loaded for the life of the process.
template <typename Function>
Function FindUser32(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SetProcessDpiAwarenessContextFunction = BOOL(WINAPI*)(HANDLE);
using SetProcessDpiAwareFunction = BOOL(WINAPI*)();

// Values of DPI_AWARENESS_CONTEXT, which Windows 7's headers do not declare.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

}  // namespace

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int DpiForWindow(HWND window) {
    static const auto getDpiForWindow = FindUser32<GetDpiForWindowFunction>("GetDpiForWindow");
    const UINT dpi = window && getDpiForWindow ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : SystemDpi();
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool hasMenu, DWORD exStyle, int dpi) {
    static const auto adjust = FindUser32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (adjust && adjust(&rect, style, hasMenu, exStyle, static_cast<UINT>(dpi))) return true;
    return ::AdjustWindowRectEx(&rect, style, hasMenu, exStyle) != FALSE;
}

int SystemMetricForDpi(int index, int dpi) {
    static const auto metric = FindUser32<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (metric) return metric(index, static_cast<UINT>(dpi));
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

void MakeProcessDpiAware() {
    if (const auto context = FindUser32<SetProcessDpiAwarenessContextFunction>("SetProcessDpiAwarenessContext")) {
        if (context(kPerMonitorAwareV2) || context(kPerMonitorAware)) return;
    }
    if (const auto aware = FindUser32<SetProcessDpiAwareFunction>("SetProcessDPIAware")) aware();
}

}  // namespace reelwright::win
