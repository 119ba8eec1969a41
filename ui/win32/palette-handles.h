// The palette's controls, as the windows that read or set them know them.
#pragma once

#include <windows.h>

// The palette window, its toolbar, the display check box, and the pictures its buttons
// switch between.
struct PaletteHandles {
    HWND window = nullptr;
    HWND toolbar = nullptr;
    HWND displayCheckBox = nullptr;
    int alternateImages[4] = {};
};
