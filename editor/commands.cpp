#include "editor/commands.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <optional>

#include "core/Application.h"
#include "core/input-timing.h"
#include "editor/model-operations.h"
#include "editor/mouse-handler.h"
#include "editor/selection.h"
#include "editor/tool-modes.h"
#include "model/shape-outline.h"
#include "ui/main-commands.h"
#include "ui/palette.h"
#include "ui/shape-window.h"

namespace {

// After the pool or the patch list changed: no pick may name what went.
void forgetPicks() {
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
    syncPickState();
}

void setToolbarButton(MainCommand command, bool enabled) {
    if (editorState.mainToolbar)
        SendMessageA(editorState.mainToolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

// A pending point names a pool point by index: one whose point went or moved elsewhere in
// the pool by an undo keeps its place as a new point.
void keepPendingPoints(const ModelCopy& before) {
    const Model& model = editedModel();
    for (auto& point : editorState.pendingPoints) {
        auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get());
        if (!existing) continue;
        const size_t index = static_cast<size_t>(existing->index);
        if (index < model.points.size() && index < before.points.size() &&
            std::memcmp(&model.points[index], &before.points[index], sizeof(vm::Float3)) == 0)
            continue;
        const vm::Float3 p = index < before.points.size() ? before.points[index] : vm::Float3{};
        const TreeItemHandle item = point->treeItem;
        point = std::make_unique<Editor::NewPoint>(vm::Vec4{p.x, p.y, p.z, 0});
        point->treeItem = item;
    }
}

// After an undo or redo replaced part of the document: everything derived from it again.
void afterUndoOrRedo(const ModelChange& change, bool undo, const ModelCopy* before) {
    Model& model = editedModel();
    if (before) keepPendingPoints(*before);
    model.rebuildBuffers();
    showUndoneChange(change, undo);
    forgetPicks();
    rebuildUseCount(model, editorState.useCount);
    refreshSelectionPanel();
    updateTitle(!editorState.history.atSaved());
    if (!editorState.history.atSaved()) markModified();
    updateHistoryButtons();
}

void undoOrRedo(bool undo) {
    if (!editorState.currentEntity) return;
    finishGestures();
    History& history = editorState.history;
    if (undo ? !history.canUndo() : !history.canRedo()) return;
    startInputTiming(undo ? "undo" : "redo");
    Model& model = editedModel();
    // Pending points are checked against the pool only when it may have moved under them.
    const bool pendingExisting = !editorState.pendingPoints.empty();
    std::optional<ModelCopy> before;
    if (pendingExisting) before = copyOf(model);
    dropShapeItemsFor(*(undo ? history.nextUndo() : history.nextRedo()), undo);
    const ModelChange* change = undo ? history.undo(model) : history.redo(model);
    if (!change) return;
    afterUndoOrRedo(*change, undo, before ? &*before : nullptr);
    reportInputTiming();
}

} // namespace

void markModified() {
    if (editorState.mainToolbar)
        SendMessageA(editorState.mainToolbar, TB_SETSTATE, 6, MAKELPARAM(TBSTATE_ENABLED, 0));
    updateTitle(true);
}

void updateTakeBackButton() {
    if (!editorState.mainToolbar) return;
    const bool usable = editorState.tool == Tool::Add && !editorState.pendingPoints.empty();
    SendMessageA(editorState.mainToolbar, TB_SETSTATE, 2,
                 MAKELPARAM(usable ? TBSTATE_ENABLED : 0, 0));
}

void recordEdit(const ModelCopy& before, const char* name) {
    if (!editorState.currentEntity) return;
    ModelChange change = changeBetween(before, editedModel(), name);
    if (change.empty()) return;
    editorState.history.record(std::move(change));
    markModified();
    updateHistoryButtons();
    refreshPointViews();
    refreshSelectionPanel(); // group and ungroup follow what the patches are in now
}

void finishPointDrag() {
    const int index = editorState.draggedPoint;
    editorState.draggedPoint = -1;
    if (index < 0 || !editorState.currentEntity) return;
    const Model& model = editedModel();
    if (static_cast<size_t>(index) >= model.points.size()) return;
    editorState.history.record(
        pointMove(model, static_cast<uint32_t>(index), editorState.draggedFrom, "Move point"));
    updateHistoryButtons();
}

void groupCommand() {
    if (!editorState.currentEntity) return;
    finishGestures();
    const ModelCopy before = copyOf(editedModel());
    groupSelection(editedModel(), shapeTree());
    recordEdit(before, "Group");
}

void symmetryCommand() {
    if (!editorState.currentEntity) return;
    finishGestures();
    const ModelCopy before = copyOf(editedModel());
    makeSymmetry(editedModel(), shapeTree());
    recordEdit(before, "Symmetry");
}

void ungroupCommand() {
    if (!editorState.currentEntity) return;
    finishGestures();
    const ModelCopy before = copyOf(editedModel());
    if (!ungroupSelection(editedModel(), shapeTree())) return;
    recordEdit(before, "Ungroup");
}

void deleteCommand() {
    if (!editorState.currentEntity) return;
    finishGestures();
    startInputTiming("delete");
    const ModelCopy before = copyOf(editedModel());
    deleteSelection(editedModel(), shapeTree(), editorState.useCount, editorState.pendingPoints);
    forgetPicks();
    recordEdit(before, "Delete");
}

bool dissociateCommand(int point) {
    if (!editorState.currentEntity) return false;
    finishGestures();
    const ModelCopy before = copyOf(editedModel());
    if (!dissociatePoint(editedModel(), shapeTree(), editorState.useCount, point)) return false;
    syncPickState();
    recordEdit(before, "Dissociate");
    return true;
}

bool jointCommand() {
    if (!editorState.currentEntity) return false;
    finishGestures();
    const ModelCopy before = copyOf(editedModel());
    if (!jointPoints(editedModel(), shapeTree(), editorState.useCount, editorState.pendingPoints,
                     editorState.firstJointPoint, editorState.hoveredPoint))
        return false;
    forgetPicks();
    recordEdit(before, "Joint");
    return true;
}

void undoCommand() {
    undoOrRedo(true);
}

void redoCommand() {
    undoOrRedo(false);
}

void updateHistoryButtons() {
    const History& history = editorState.history;
    setToolbarButton(MainCommand::Undo, history.canUndo());
    setToolbarButton(MainCommand::UndoBack, history.canUndo());
    setToolbarButton(MainCommand::Redo, history.canRedo());
}

std::string toolbarTip(int command) {
    const History& history = editorState.history;
    switch (static_cast<MainCommand>(command)) {
    case MainCommand::New:
        return "New (Ctrl+N)";
    case MainCommand::Open:
        return "Open (Ctrl+O)";
    case MainCommand::Save:
        return "Save (Ctrl+S)";
    case MainCommand::UndoBack:
    case MainCommand::Undo:
        return history.canUndo() ? "Undo " + history.undoName() + " (Ctrl+Z)"
                                 : std::string("Nothing to undo");
    case MainCommand::Redo:
        return history.canRedo() ? "Redo " + history.redoName() + " (Ctrl+Y)"
                                 : std::string("Nothing to redo");
    case MainCommand::TakeBack:
        return "Take back the last new point (add tool)";
    case MainCommand::Delete:
        return "Delete the selected patches (Del)";
    default:
        return {};
    }
}

void startHistory(bool saved) {
    editorState.history.clear();
    if (!saved) editorState.history.markUnsaved();
    updateHistoryButtons();
}
