#include "ui/win32/tool-modes.h"

#include <windows.h>

#include <commctrl.h>

#include "core/session-keys.h"
#include "editor/selection.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/records.h"

void setTool(Tool tool) {
    finishGestures();
    const Tool current = editorState.tool;
    const int button = palette::toolButton(current);
    const BYTE released = (current == Tool::Select || current == Tool::Translate)
                              ? TBSTATE_ENABLED | TBSTATE_WRAP
                              : TBSTATE_ENABLED;
    if (application.palette.toolbar && button >= 0)
        PostMessageA(application.palette.toolbar, TB_SETSTATE, static_cast<WPARAM>(button),
                     MAKELPARAM(released, 0));
    editorState.sweepAngle = 0;
    editorState.pivot = {};
    editorState.translation = {};
    editorState.scaleFactor = 1;
    // A point left hot by the last tool would drive dissociate, joint and the guides here.
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
    editorState.handleHot = false;
    if (tool == current) tool = Tool::None;
    editorState.tool = tool;
    sessionSettings().writeInt(session::kSession, "Tool", static_cast<int>(tool));
    updateTakeBackButton();
}

void startRotate() {
    setTool(Tool::Rotate);
    vm::Vec4 min, max;
    editorState.pivot = selectionBounds(editedModel(), min, max) ? (min + max) * 0.5f : vm::Vec4{};
    editorState.pivot.w = 0;
    editorState.sweepAngle = 1.0f;
    editorState.startAngle = -1.0f;
}
