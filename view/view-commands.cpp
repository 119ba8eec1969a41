#include "view/view-commands.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"
#include "core/window-layout.h"
#include "editor/selection.h"

void switchView() {
    if (const auto layout = orbitCamera.switchView(editorState.currentView, sessionSettings()))
        switchLayout(*layout);
}

void centerView() {
    orbitCamera.offset = {0, 0, 0, 0};
    if (editorState.statusBar)
        SendMessageA(editorState.statusBar, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(""));
}

void centerOnSelection() {
    vm::Vec4 min, max;
    if (!selectionBounds(*editorState.currentEntity, min, max)) return;
    orbitCamera.offset = min + (max - min) * 0.5f;
    orbitCamera.offset.w = 0;
    orbitCamera.saveOffset(sessionSettings());
}
