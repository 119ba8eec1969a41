// The tool windows' places on the screen: laid out beside the main window on the first
// start, remembered whenever they move, resize, show or hide, and restored at the next.
#pragma once

#include <windows.h>

#include <vector>

#include "core/tool-window-places.h"

struct MainWindowHandles;
struct PaletteHandles;
struct ShapeWindowHandles;

// The windows whose places are kept, and whether start-up is placing them still (its moves
// are the program's own, not remembered). Given by the shell before any window is made.
struct WindowPlacesParts {
    const MainWindowHandles& main;
    const PaletteHandles& palette;
    const ShapeWindowHandles& shape;
    bool& placing;
};
void connectWindowPlaces(const WindowPlacesParts& parts);

// The monitors' work areas, the primary monitor's first.
std::vector<places::Rect> workAreas();

// Before the windows are made: the remembered places, saved at the DPI stored beside them,
// converted to the DPI of the monitor each lies on and brought onto one
// (ui/remembered-places-dpi.h).
void convertRememberedPlacesToMonitorDpi();

// After the palette and the shape window exist: their remembered places (moved onto a
// screen when off every monitor), or, on the first start, all three windows side by side
// in the work area (the main window only when it has no remembered place of its own).
void placeWindowsAtStart(bool mainPlaceRemembered);

// WM_MOVE, WM_SIZE and WM_SHOWWINDOW of the palette or the shape window.
void rememberToolWindow(HWND window, UINT message, WPARAM wParam);

// What the palette and the shape window do alike: remember their place as they move, size,
// show or hide, and hide when closed (a key or the main window shows them again). True,
// with the message's result, when the message was one of these.
bool handleToolWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);
