// The main toolbar's stock pictures for its window's DPI: the system's small set (16 pixels)
// below 150 %, its large set (24 pixels) from there.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Image list 0 the history pictures, 1 the standard ones, with their greyed copies; at its
// creation and again when the DPI changes.
// The history list is kept in toolbarImages (the one made before is destroyed).
void showMainToolbarPictures(HWND toolbar, int dpi, HIMAGELIST& toolbarImages);
