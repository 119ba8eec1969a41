// The main window and its children, as the windows that read or set them know them.
#pragma once

#include <windows.h>

#include <commctrl.h>

struct MainWindowHandles {
    HWND window = nullptr;
    HWND view = nullptr; // view 0's window, the renderer's first swap chain
    HWND toolbar = nullptr;
    HIMAGELIST toolbarImages = nullptr;
    HWND statusBar = nullptr;
    HWND secondaryViews[3] = {}; // views 1, 2 and 3 in the quad layout
};
