#include "editor/commands.h"

#include <windows.h>

#include <commctrl.h>

#include "core/Application.h"
#include "core/input-timing.h"
#include "editor/model-operations.h"
#include "editor/mouse-handler.h"
#include "ui/shape-window.h"

namespace {

// After the pool or the patch list changed: no pick may name what went.
void forgetPicks() {
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
    syncPickState();
}

} // namespace

void markModified() {
    if (editorState.mainToolbar)
        SendMessageA(editorState.mainToolbar, TB_SETSTATE, 6, MAKELPARAM(TBSTATE_ENABLED, 0));
    updateTitle(true);
}

void updateTakeBackButton() {
    if (!editorState.mainToolbar) return;
    const bool usable = editorState.tool == 1 && !editorState.pendingPoints.empty();
    SendMessageA(editorState.mainToolbar, TB_SETSTATE, 2,
                 MAKELPARAM(usable ? TBSTATE_ENABLED : 0, 0));
}

void groupCommand() {
    if (!editorState.currentEntity) return;
    groupSelection(editedModel(), shapeTree());
    markModified();
}

void symmetryCommand() {
    if (!editorState.currentEntity) return;
    makeSymmetry(editedModel(), shapeTree());
    markModified();
}

void deleteCommand() {
    if (!editorState.currentEntity) return;
    startInputTiming("delete");
    deleteSelection(editedModel(), shapeTree(), editorState.useCount, editorState.pendingPoints);
    forgetPicks();
    markModified();
}

bool dissociateCommand(int point) {
    if (!editorState.currentEntity ||
        !dissociatePoint(editedModel(), shapeTree(), editorState.useCount, point))
        return false;
    syncPickState();
    markModified();
    return true;
}

bool jointCommand() {
    if (!editorState.currentEntity ||
        !jointPoints(editedModel(), shapeTree(), editorState.useCount, editorState.pendingPoints,
                     editorState.firstJointPoint, editorState.hoveredPoint))
        return false;
    forgetPicks();
    markModified();
    return true;
}
