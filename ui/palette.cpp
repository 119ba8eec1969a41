#include "ui/palette.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"
#include "core/fatal-error.h"
#include "core/session-keys.h"
#include "editor/selection.h"
#include "ui/shape-window.h"

namespace {

void createMainToolbar(HWND mainWindow) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | TBSTYLE_FLAT, 0, 0, 0,
                                   0, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!toolbar) fatalError("yo ?", "main toolbar", HRESULT_FROM_WIN32(GetLastError()));
    editorState.mainToolbar = toolbar;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The document buttons come with the document commands; the bar already takes its height.
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOWNORMAL);
}

void createStatusBar(HWND mainWindow) {
    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr,
                                  WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, mainWindow,
                                  reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    editorState.statusBar = status;
    const int parts[3] = {360, 660, -1};
    SendMessageA(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

// The button's state until the palette's toolbar carries it: its remembered value.
bool wireframeChecked = false;

} // namespace

bool paletteWireframeChecked() { return wireframeChecked; }

void refreshSelectionPanel() {
    sessionSettings().writeString(session::kTool, "SelectedPatches",
                                  selectedPatchesText(*editorState.currentEntity));
    // The group button and the display check box follow once the palette has its buttons.
}

void createPalette(HWND mainWindow) {
    wireframeChecked = sessionSettings().readInt(session::kSession, "wireframe", 0) != 0;
    createMainToolbar(mainWindow);
    createStatusBar(mainWindow);

    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_WINDOWEDGE;
    HWND palette = CreateWindowExA(exStyle, "palette", "Palette", WS_OVERLAPPEDWINDOW,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), &editorState);
    editorState.paletteWindow = palette;
    // Two columns of 32-pixel buttons, nine rows; the buttons come with the tools.
    RECT wanted = {0, 0, 64, 320};
    AdjustWindowRectEx(&wanted, WS_OVERLAPPEDWINDOW, FALSE, exStyle);
    SetWindowPos(palette, nullptr, 0, 0, wanted.right - wanted.left, 320,
                 SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(palette, SW_SHOW);

    editorState.shapeWindow = createShapeWindow();
}

LRESULT CALLBACK paletteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
