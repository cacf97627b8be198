// Window classes, fonts, icons and places of this program's windows.
#pragma once

#include <windows.h>

#include <string>

#include "core/Layout.h"
#include "core/win/basAPI.h"

namespace reelwright::win {

// The font the twips layouts were drawn for: "MS Shell Dlg" at 8 points,
// scaled for `dpi`.
basAPI::UniqueFont CreateDialogFont(int dpi);
// A font of `pointSize` points in the face `face`, scaled for `dpi`.
basAPI::UniqueFont CreatePointFont(const wchar_t* face, double pointSize, bool bold, int dpi);

// Registers a window class of this program with the dialog background and the
// arrow cursor (and the program's icon when `withProgramIcon`). Registering a
// class twice fails harmlessly, so every window may call it before it creates
// itself.
void RegisterWindowClass(const wchar_t* className, WNDPROC windowProc, bool withProgramIcon = false);

// Window size for a wanted client area (twips) at `dpi`, for the given styles.
SIZE WindowSizeForClient(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle, bool hasMenu,
                         int dpi);

// Moves the window so that it is centred on the screen that holds it.
void CenterOnScreen(HWND window);
// Where a window of `size` is centred on the screen that holds `window`.
POINT CentredOnScreen(HWND window, SIZE size);

// The window's text as UTF-8.
std::string GetText(HWND window);
void SetText(HWND window, const std::string& utf8);

// The program's icon (resource 1) at `size` pixels square, owned by the caller.
basAPI::UniqueIcon LoadProgramIcon(int size);

// Place of a child window relative to the client area of `container`, in pixels.
PixelRect PlaceInParent(HWND child, HWND container);

// Whether the key is held down as the message being handled was sent.
inline bool KeyHeld(int virtualKey) { return (::GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace reelwright::win
