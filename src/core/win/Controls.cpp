#include "core/win/Controls.h"

#include <cmath>
#include <vector>

namespace reelwright::win {

int SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND window) {
    const UINT dpi = window ? ::GetDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : SystemDpi();
}

basAPI::UniqueFont CreateUiFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW font{};
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
        font = metrics.lfMessageFont;
    } else if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font = metrics.lfMessageFont;
        font.lfHeight = ::MulDiv(font.lfHeight, dpi, SystemDpi());
    } else {
        font.lfHeight = -::MulDiv(9, dpi, 72);
        lstrcpyW(font.lfFaceName, L"Segoe UI");
    }
    return basAPI::UniqueFont(::CreateFontIndirectW(&font));
}

basAPI::UniqueFont CreatePointFont(const wchar_t* face, double pointSize, bool bold, int dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(pointSize * dpi / 72.0));
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return basAPI::UniqueFont(::CreateFontIndirectW(&font));
}

void RegisterWindowClass(const wchar_t* className, WNDPROC windowProc, bool withProgramIcon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    if (withProgramIcon) {
        windowClass.hIcon = LoadProgramIcon(::GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = LoadProgramIcon(::GetSystemMetrics(SM_CXSMICON));
    }
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    ::RegisterClassExW(&windowClass);
}

void MoveToSuggestedPlace(HWND window, LPARAM suggestedRect) {
    const RECT* suggested = reinterpret_cast<const RECT*>(suggestedRect);
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                 int id, const TwipsRect& place, int dpi, HFONT font) {
    const PixelRect pixels = ToPixels(place, dpi);
    HWND child = ::CreateWindowExW(exStyle, className, text.c_str(), style | WS_CHILD, pixels.left, pixels.top,
                                   pixels.width, pixels.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (child && font) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

SIZE WindowSizeForClient(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle, bool hasMenu,
                         int dpi) {
    RECT rect{0, 0, TwipsToPixels(clientWidthTwips, dpi), TwipsToPixels(clientHeightTwips, dpi)};
    if (!::AdjustWindowRectExForDpi(&rect, style, hasMenu, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&rect, style, hasMenu, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void ApplyLayout(HWND window, const TwipsRect& client, DWORD style, DWORD exStyle,
                 const std::vector<PlacedControl>& controls, int dpi) {
    const SIZE size = WindowSizeForClient(client.width, client.height, style, exStyle, false, dpi);
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const PlacedControl& placed : controls) {
        const PixelRect pixels = ToPixels(placed.place, dpi);
        ::SetWindowPos(placed.control, nullptr, pixels.left, pixels.top, pixels.width, pixels.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CenterOnScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcMonitor;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
                   area.top + (area.bottom - area.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string GetText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
    return basAPI::Narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

void SetText(HWND window, const std::string& utf8) { ::SetWindowTextW(window, basAPI::Widen(utf8).c_str()); }

HICON LoadProgramIcon(int size) {
    return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size,
                                           LR_DEFAULTCOLOR | LR_SHARED));
}

PixelRect PlaceInParent(HWND child, HWND container) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace reelwright::win
