// The screen scale on every Windows from 7 on: the per-monitor calls of Windows 10 where they
// exist, the system-wide DPI where they do not.
#pragma once

#include "Form1/Units.h"

#include <windows.h>

namespace zanthera::win32 {

// The DPI the window is drawn at (the system DPI before the window exists).
int dpiOf(HWND window);

// The outer rectangle of a window whose client area is `client`, at `dpi`.
RECT outerRect(RECT client, DWORD style, DWORD extendedStyle, int dpi);

// The user's message font (the interface font of message boxes and dialogs) at `dpi`.
LOGFONTW interfaceFont(int dpi);

// Pixels at 96 DPI scaled to `dpi`, rounded to the nearest.
inline int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, designDpi);
}

} // namespace zanthera::win32
