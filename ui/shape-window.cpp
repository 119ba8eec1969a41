#include "ui/shape-window.h"

#include "core/Application.h"

HWND createShapeWindow() {
    return CreateWindowExA(WS_EX_OVERLAPPEDWINDOW, "shape-wnd", "Courbes",
                           WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT,
                           CW_USEDEFAULT, 680, 870, nullptr, nullptr, GetModuleHandleA(nullptr),
                           &editorState);
}

ModelTree& shapeTree() {
    // Texts only until the tree control is built; locators keep their names here meanwhile.
    static MemoryTree tree;
    return tree;
}

void rebuildShapeWindow() {
    // The tree and the point list come with the shape window's controls.
}

LRESULT CALLBACK shapeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
