// The shape window's controls placed for its size (ui/shape-window-layout.h says where).
#pragma once

#include <windows.h>

struct ShapeWindowHandles;

// Every control moved to its place for the window's client area now.
void placeShapeControls(HWND window, const ShapeWindowHandles& shape);
// The window is never made smaller than every control needs at its DPI.
void limitShapeWindowSize(HWND window, MINMAXINFO& limits);
// The controls' font and the point list's rows for the window's DPI (at its creation, and
// when it changes), then their places.
void fitShapeControlsToDpi(HWND window, const ShapeWindowHandles& shape);
