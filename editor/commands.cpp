#include "editor/commands.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"

void markModified() {
    if (editorState.mainToolbar)
        SendMessageA(editorState.mainToolbar, TB_SETSTATE, 6, MAKELPARAM(TBSTATE_ENABLED, 0));
    updateTitle(true);
}
