#include "core/win/Controls.h"

#include <cmath>
#include <vector>

#include "core/win/DpiApi.h"

namespace reelwright::win {

basAPI::UniqueFont CreateDialogFont(int dpi) {
    LOGFONTW font{};
    font.lfHeight = -::MulDiv(8, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"MS Shell Dlg", LF_FACESIZE);
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
        // At the system's sizes, kept for the life of the process as the
        // classes are: a window at the system's DPI shows these, and sets
        // icons of its own only at another DPI.
        static const HICON big = LoadProgramIcon(::GetSystemMetrics(SM_CXICON)).release();
        static const HICON small = LoadProgramIcon(::GetSystemMetrics(SM_CXSMICON)).release();
        windowClass.hIcon = big;
        windowClass.hIconSm = small;
    }
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    ::RegisterClassExW(&windowClass);
}

SIZE WindowSizeForClient(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle, bool hasMenu,
                         int dpi) {
    RECT rect{0, 0, TwipsToPixels(clientWidthTwips, dpi), TwipsToPixels(clientHeightTwips, dpi)};
    AdjustWindowRectForDpi(rect, style, hasMenu, exStyle, dpi);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

POINT CentredOnScreen(HWND window, SIZE size) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcMonitor;
    return {area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
}

void CenterOnScreen(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const POINT at = CentredOnScreen(window, {rect.right - rect.left, rect.bottom - rect.top});
    ::SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string GetText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
    return basAPI::Narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

void SetText(HWND window, const std::string& utf8) { ::SetWindowTextW(window, basAPI::Widen(utf8).c_str()); }

basAPI::UniqueIcon LoadProgramIcon(int size) {
    // Not LR_SHARED: a shared icon is loaded once at the first size asked for.
    return basAPI::UniqueIcon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

PixelRect PlaceInParent(HWND child, HWND container) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace reelwright::win
