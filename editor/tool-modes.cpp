#include "editor/tool-modes.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"
#include "core/session-keys.h"
#include "ui/palette-buttons.h"

void setTool(int tool) {
    const int current = editorState.tool;
    const int button = current >= 0 && current <= 5 ? palette::kToolButton[current] : -1;
    const BYTE released = (current == 2 || current == 4) ? TBSTATE_ENABLED | TBSTATE_WRAP : TBSTATE_ENABLED;
    if (editorState.paletteToolbar)
        PostMessageA(editorState.paletteToolbar, TB_SETSTATE, static_cast<WPARAM>(button), MAKELPARAM(released, 0));
    if (current == 3 || current == 4) {
        // Committing the previewed transform to the points comes with the transform tools.
        editorState.sweepAngle = 0;
        editorState.pivot = {};
    }
    if (tool == current) tool = 0;
    editorState.tool = tool;
    sessionSettings().writeInt(session::kSession, "Tool", tool);
}
