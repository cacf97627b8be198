// Creating windows and child controls at places given in twips, in the
// system's UI font scaled for the window's DPI.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/Layout.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

// The DPI of a window (the system DPI when the window has none yet).
int WindowDpi(HWND window);
int SystemDpi();

// The system's message font (the UI font), scaled for `dpi`.
basAPI::UniqueFont CreateUiFont(int dpi);
// A bold font of `pointSize` points in the face `face`, scaled for `dpi`.
basAPI::UniqueFont CreatePointFont(const wchar_t* face, double pointSize, bool bold, int dpi);

// Registers a window class of this program with the dialog background and the
// arrow cursor (and the program's icon when `withProgramIcon`). Registering a
// class twice fails harmlessly, so every window may call it before it creates
// itself.
void RegisterWindowClass(const wchar_t* className, WNDPROC windowProc, bool withProgramIcon = false);

// Moves a window to the place Windows suggests with WM_DPICHANGED.
void MoveToSuggestedPlace(HWND window, LPARAM suggestedRect);

// Creates a child control at `place` (twips, relative to the parent's client
// area) converted at `dpi`, sets `font` on it and gives it the id `id`.
HWND CreateChild(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                 int id, const TwipsRect& place, int dpi, HFONT font);

// A control and its place in twips relative to its parent window; headings
// take a font of their own.
struct PlacedControl {
    HWND control;
    TwipsRect place;
    bool heading = false;
};

// Sizes `window` for its client area (twips) at `dpi` and moves every control
// to its place converted at the same DPI.
void ApplyLayout(HWND window, const TwipsRect& client, DWORD style, DWORD exStyle,
                 const std::vector<PlacedControl>& controls, int dpi);

// Window size for a wanted client area (twips) at `dpi`, for the given styles.
SIZE WindowSizeForClient(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle, bool hasMenu,
                         int dpi);

// Moves the window so that it is centred on the screen that holds it.
void CenterOnScreen(HWND window);

// The window's text as UTF-8.
std::string GetText(HWND window);
void SetText(HWND window, const std::string& utf8);

// The program's icon (resource 1) at the given size.
HICON LoadProgramIcon(int size);

// Place of a child window relative to the client area of `container`, in pixels.
PixelRect PlaceInParent(HWND child, HWND container);

}  // namespace reelwright::win
