// The object a window procedure belongs to: CreateWindowEx's parameter, kept in the window's
// user data from WM_NCCREATE on; null for the few messages before it (WM_GETMINMAXINFO).
#pragma once

#include <windows.h>

template <typename T> T* windowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
