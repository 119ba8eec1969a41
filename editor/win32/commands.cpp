#include "editor/win32/commands.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <optional>

#include "core/win32/Application.h"
#include "core/win32/input-timing.h"
#include "editor/model-operations.h"
#include "editor/selection.h"
#include "editor/win32/mouse-handler.h"
#include "editor/win32/tool-modes.h"
#include "model/shape-outline.h"
#include "ui/main-commands.h"
#include "ui/win32/palette.h"
#include "ui/win32/recovery.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

namespace {

// After the pool or the patch list changed: no pick may name what went.
void forgetPicks() {
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
    syncPickState();
}

// A new step of the history; when the history's bounds made it drop its oldest steps, the
// status bar says so (they can no longer be undone).
void recordStep(ModelChange change) {
    const size_t dropped = editorState.history.record(std::move(change));
    if (dropped == 0) return;
    setStatusText(StatusPart::Message, "Undo history full: the " + std::to_string(dropped) +
                                           " oldest step" + (dropped == 1 ? " was" : "s were") +
                                           " dropped");
}

void setToolbarButton(MainCommand command, bool enabled) {
    if (editorState.mainToolbar)
        SendMessageA(editorState.mainToolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

// Where the add tool's pending pool points are (nothing for its new points).
std::vector<std::optional<vm::Float3>> pendingPoolPoints() {
    std::vector<std::optional<vm::Float3>> at;
    const Model& model = editedModel();
    for (const auto& point : editorState.pendingPoints) {
        const auto* existing = dynamic_cast<const Editor::ExistingPoint*>(point.get());
        const size_t index = existing ? static_cast<size_t>(existing->index) : model.points.size();
        at.push_back(index < model.points.size() ? std::optional(model.points[index])
                                                 : std::nullopt);
    }
    return at;
}

// A pending point names a pool point by index: one whose point went or moved elsewhere in
// the pool by an undo keeps its place (where it was before) as a new point.
void keepPendingPoints(const std::vector<std::optional<vm::Float3>>& before) {
    const Model& model = editedModel();
    for (size_t k = 0; k < editorState.pendingPoints.size() && k < before.size(); ++k) {
        if (!before[k]) continue;
        auto& point = editorState.pendingPoints[k];
        const size_t index = static_cast<size_t>(static_cast<Editor::ExistingPoint&>(*point).index);
        const vm::Float3 p = *before[k];
        if (index < model.points.size() &&
            std::memcmp(&model.points[index], &p, sizeof(vm::Float3)) == 0)
            continue;
        const TreeItemHandle item = point->treeItem;
        point = std::make_unique<Editor::NewPoint>(vm::Vec4{p.x, p.y, p.z, 0});
        point->treeItem = item;
    }
}

// After an undo or redo replaced part of the document: everything derived from it again.
void afterUndoOrRedo(const ModelChange& change, bool undo) {
    Model& model = editedModel();
    model.rebuildBuffers();
    showUndoneChange(change, undo);
    forgetPicks();
    rebuildUseCount(model, editorState.useCount);
    refreshSelectionPanel();
    if (editorState.history.atSaved()) {
        updateTitle(false);
        discardRecoveryCopy(); // the changes were taken back: a crash has nothing to offer
    } else {
        markModified();
    }
    updateHistoryButtons();
}

void undoOrRedo(bool undo) {
    if (!editorState.currentEntity) return;
    finishGestures();
    History& history = editorState.history;
    if (undo ? !history.canUndo() : !history.canRedo()) return;
    startInputTiming(undo ? "undo" : "redo");
    Model& model = editedModel();
    const auto pendingAt = pendingPoolPoints();
    dropShapeItemsFor(*(undo ? history.nextUndo() : history.nextRedo()), undo);
    const ModelChange* change = undo ? history.undo(model) : history.redo(model);
    if (!change) return;
    keepPendingPoints(pendingAt);
    afterUndoOrRedo(*change, undo);
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
    recordStep(std::move(change));
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
    recordStep(
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
