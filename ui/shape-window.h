// The shape window "Courbes": tree of groups and patches, point list, coordinates, opacity.
#pragma once

#include <windows.h>

#include "model/model-tree.h"

HWND createShapeWindow();
// The tree as the model files see it (locator names live in it).
ModelTree& shapeTree();
// Rebuilds the tree and the point list from the model.
void rebuildShapeWindow();

LRESULT CALLBACK shapeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
