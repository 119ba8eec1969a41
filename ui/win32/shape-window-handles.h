// The shape window's controls, as the windows that read or set them know them.
#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/win32/shape-tree-view.h"

// The shape window's controls, and whether its tree is being filled (its notifications are
// then not the user's).
struct ShapeWindowHandles {
    HWND window = nullptr;
    HWND tree = nullptr;
    HWND pointList = nullptr;
    HWND alphaSlider = nullptr;
    HWND coordinateBoxes[3] = {};
    HWND coordinateLabels[3] = {}; // "x", "y", "z" beside the boxes
    // The transform row under the boxes: which transform, its three fields, and Apply.
    HWND transformChoice = nullptr;
    HWND transformFields[3] = {};
    HWND transformApply = nullptr;
    bool rebuilding = false;
    bool listingHeld = false;   // start-up lists the model after its first frame
    size_t pointListAnchor = 0; // the row a Shift-click on the point list reaches from
    // The tree and the list as the document's view sees them.
    ShapeTreeView treeView{{window, tree, pointList, rebuilding}};
    WNDPROC editProcedure = nullptr;   // the coordinate boxes' own, before Enter was caught
    WNDPROC sliderProcedure = nullptr; // the opacity slider's own, before Escape was caught
    WNDPROC listProcedure = nullptr;   // the point list's own, before clicks on chosen rows
};
