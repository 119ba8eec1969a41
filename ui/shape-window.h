// The shape window "Courbes": tree of groups and patches, point list, coordinates, opacity.
#pragma once

#include <windows.h>

HWND createShapeWindow();
// Rebuilds the tree and the point list from the model.
void rebuildShapeWindow();

LRESULT CALLBACK shapeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
