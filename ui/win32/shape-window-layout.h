// The shape window's controls placed for its size (ui/shape-window-layout.h says where).
#pragma once

#include <windows.h>

// Every control moved to its place for the window's client area now.
void placeShapeControls(HWND window);
// The window is never made smaller than every control needs.
void limitShapeWindowSize(MINMAXINFO& limits);
