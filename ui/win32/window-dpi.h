// The DPI a window is drawn at (the program is per-monitor DPI aware), the font its controls
// take there, and its move when the DPI changes (a monitor of another scale, or the user's
// setting changed).
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The window's DPI: GetDpiForWindow where user32 has it (Windows 10 1607 on), else the
// screen's.
int windowDpi(HWND window);
// The DPI of the system's stock fonts and of windows not yet made.
int systemDpi();

// AdjustWindowRectEx with the frame and caption of the given DPI (as they are at the system's
// where user32 cannot tell).
void adjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);

// Every child control of the window takes the font for the DPI: at the system's DPI the
// stock font they have by default (nothing changes at 100 %), at another the system font
// scaled to it.
void setControlFonts(HWND window, int dpi);

// WM_DPICHANGED: the window takes the place and size Windows suggests for the new DPI.
void moveToSuggestedRect(HWND window, LPARAM lParam);
