#include "ui/win32/status-bar.h"

#include <windows.h>

#include <commctrl.h>

#include "core/win32/records.h"

void setStatusText(StatusPart part, const std::string& text) {
    if (editorState.statusBar)
        SendMessageA(editorState.statusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(text.c_str()));
}
