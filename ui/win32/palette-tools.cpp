// The palette's tool buttons: the tool of the 3D view, and the gestures it ends.
#include <windows.h>

#include <commctrl.h>

#include "core/session-keys.h"
#include "editor/edit-session.h"
#include "editor/editor-state.h"
#include "editor/selection.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/palette.h"
#include "ui/win32/session-settings.h"

void Palette::setTool(Tool tool) {
    finishGestures(p_.session);
    const Tool current = editor_.tool;
    const int button = palette::toolButton(current);
    const BYTE released = (current == Tool::Select || current == Tool::Translate)
                              ? TBSTATE_ENABLED | TBSTATE_WRAP
                              : TBSTATE_ENABLED;
    if (h_.toolbar && button >= 0)
        PostMessageA(h_.toolbar, TB_SETSTATE, static_cast<WPARAM>(button), MAKELPARAM(released, 0));
    editor_.sweepAngle = 0;
    editor_.pivot = {};
    editor_.translation = {};
    editor_.scaleFactor = 1;
    // A point left hot by the last tool would drive dissociate, joint and the guides here.
    editor_.hoveredPoint = -1;
    editor_.hotPoint = false;
    editor_.handleHot = false;
    if (tool == current) tool = Tool::None;
    editor_.tool = tool;
    sessionSettings().writeInt(session::kSession, "Tool", static_cast<int>(tool));
    updateTakeBackButton(p_.main.toolbar, editor_);
}

void Palette::startRotate() {
    setTool(Tool::Rotate);
    vm::Vec4 min, max;
    editor_.pivot = selectionBounds(model(), min, max) ? (min + max) * 0.5f : vm::Vec4{};
    editor_.pivot.w = 0;
    editor_.sweepAngle = 1.0f;
    editor_.startAngle = -1.0f;
}
