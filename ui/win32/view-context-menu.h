// The context menu of the main window's view: a right click that does not stray past the
// drag distance opens it at the pointer (a right drag still pans); Shift+F10 and the menu
// key open it over the selection (the chosen points while choosing them).
#pragma once

#include <windows.h>

class ViewMouse;

// WM_RBUTTONDOWN, WM_MOUSEMOVE and WM_RBUTTONUP of the main window, after the view had them.
void followRightClick(HWND window, UINT message, WPARAM wParam, LPARAM lParam, ViewMouse& mouse);
void openContextMenuFromKeyboard(HWND window, ViewMouse& mouse);
