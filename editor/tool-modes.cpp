#include "editor/tool-modes.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"
#include "core/session-keys.h"
#include "editor/commands.h"
#include "editor/edit-xform.h"
#include "editor/selection.h"
#include "ui/palette-buttons.h"

void setTool(Tool tool) {
    finishGestures();
    const Tool current = editorState.tool;
    const int button = palette::toolButton(current);
    const BYTE released = (current == Tool::Select || current == Tool::Translate)
                              ? TBSTATE_ENABLED | TBSTATE_WRAP
                              : TBSTATE_ENABLED;
    if (editorState.paletteToolbar && button >= 0)
        PostMessageA(editorState.paletteToolbar, TB_SETSTATE, static_cast<WPARAM>(button),
                     MAKELPARAM(released, 0));
    editorState.sweepAngle = 0;
    editorState.pivot = {};
    editorState.translation = {};
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
    editorState.pivot =
        selectionBounds(*editorState.currentEntity, min, max) ? (min + max) * 0.5f : vm::Vec4{};
    editorState.pivot.w = 0;
    editorState.sweepAngle = 1.0f;
    editorState.startAngle = -1.0f;
}

void commitPreview() {
    if (!editorState.currentEntity) return;
    if (previewPending(editorState)) {
        Model& model = editedModel();
        const ModelCopy before = copyOf(model);
        applyPreview(editorState, model);
        model.updatePointBuffer();
        recordEdit(before, editorState.tool == Tool::Rotate ? "Rotate" : "Translate");
    }
    editorState.transformDrag = false;
    editorState.translation = {};
    if (editorState.tool == Tool::Rotate) {
        editorState.startAngle = -1.0f; // the next press measures from the mouse again
        editorState.sweepAngle = 0;
    }
}

void finishGestures() {
    commitPreview();
    finishPointDrag();
}
