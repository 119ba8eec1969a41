#include "editor/tool-modes.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"
#include "core/session-keys.h"
#include "editor/commands.h"
#include "editor/edit-xform.h"
#include "editor/selection.h"
#include "ui/palette-buttons.h"

void setTool(int tool) {
    const int current = editorState.tool;
    const int button = current >= 0 && current <= 5 ? palette::kToolButton[current] : -1;
    const BYTE released =
        (current == 2 || current == 4) ? TBSTATE_ENABLED | TBSTATE_WRAP : TBSTATE_ENABLED;
    if (editorState.paletteToolbar)
        PostMessageA(editorState.paletteToolbar, TB_SETSTATE, static_cast<WPARAM>(button),
                     MAKELPARAM(released, 0));
    if (current == 3 || current == 4) {
        commitTransform();
        editorState.sweepAngle = 0;
        editorState.pivot = {};
    }
    if (tool == current) tool = 0;
    editorState.tool = tool;
    sessionSettings().writeInt(session::kSession, "Tool", tool);
    updateTakeBackButton();
}

void startRotate() {
    setTool(3);
    vm::Vec4 min, max;
    editorState.pivot =
        selectionBounds(*editorState.currentEntity, min, max) ? (min + max) * 0.5f : vm::Vec4{};
    editorState.pivot.w = 0;
    editorState.sweepAngle = 1.0f;
    editorState.startAngle = -1.0f;
}

void commitTransform() {
    Model& model = *editorState.currentEntity;
    applyDisplayTransform(editorState, model);
    model.rebuildBuffers();
    markModified();
}
