#include "ui/win32/commands.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <optional>

#include "core/win32/input-timing.h"
#include "editor/model-operations.h"
#include "editor/point-selection.h"
#include "editor/selection.h"
#include "model/shape-outline.h"
#include "ui/main-commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/palette.h"
#include "ui/win32/records.h"
#include "ui/win32/status-bar.h"

namespace {

void setToolbarButton(MainCommand command, bool enabled) {
    if (application.mainToolbar)
        SendMessageA(application.mainToolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
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

void undoOrRedo(bool undo) {
    if (!editorState.currentEntity) return;
    finishGestures();
    const History& history = document().history();
    if (undo ? !history.canUndo() : !history.canRedo()) return;
    application.inputTiming.start(undo ? "undo" : "redo");
    const auto pendingAt = pendingPoolPoints();
    if (undo)
        document().undo();
    else
        document().redo();
    keepPendingPoints(pendingAt);
    application.inputTiming.report();
}

} // namespace

void forgetHover() {
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
}

void forgetPicks() {
    forgetHover();
    editorState.hoveredPatch = -1;
    editorState.firstJointPoint = -1;
    if (editorState.currentEntity) editorState.chosenPoints.fit(editedModel().points.size());
    updateJointButton();
}

void markModified() {
    document().changing();
}

void updateTakeBackButton() {
    if (!application.mainToolbar) return;
    const bool usable = editorState.tool == Tool::Add && !editorState.pendingPoints.empty();
    SendMessageA(application.mainToolbar, TB_SETSTATE, static_cast<WPARAM>(MainCommand::TakeBack),
                 MAKELPARAM(usable ? TBSTATE_ENABLED : 0, 0));
}

bool editDocument(const char* name, const std::function<bool(Model&)>& change) {
    if (!editorState.currentEntity) return false;
    finishGestures();
    bool changed = false;
    document().edit(name, [&](Model& model) { changed = change(model); });
    return changed;
}

void groupCommand() {
    editDocument("Group", [](Model& model) {
        groupSelection(model);
        return true;
    });
}

void symmetryCommand() {
    editDocument("Symmetry", [](Model& model) {
        makeSymmetry(model);
        return true;
    });
}

void ungroupCommand() {
    editDocument("Ungroup", [](Model& model) { return ungroupSelection(model); });
}

void deleteCommand() {
    application.inputTiming.start("delete");
    editDocument("Delete", [](Model& model) {
        deleteSelection(model, editorState.pendingPoints);
        return true;
    });
}

bool dissociateCommand(int point) {
    return editDocument("Dissociate",
                        [point](Model& model) { return dissociatePoint(model, point); });
}

bool jointCommand() {
    return editDocument("Joint", [](Model& model) {
        return jointPoints(model, editorState.pendingPoints, editorState.firstJointPoint,
                           editorState.hoveredPoint);
    });
}

void undoCommand() {
    undoOrRedo(true);
}

void redoCommand() {
    undoOrRedo(false);
}

void updateHistoryButtons() {
    const History& history = document().history();
    setToolbarButton(MainCommand::Undo, history.canUndo());
    setToolbarButton(MainCommand::UndoBack, history.canUndo());
    setToolbarButton(MainCommand::Redo, history.canRedo());
}

std::string toolbarTip(int command) {
    const History& history = document().history();
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

void pivotAtPointCommand() {
    if (!editorState.currentEntity || !editorState.hotPoint || editorState.hoveredPoint < 0) {
        setStatusText(StatusPart::Message, "V: put the mouse on a point to turn about it");
        return;
    }
    const vm::Float3 p = editedModel().points[static_cast<size_t>(editorState.hoveredPoint)];
    editorState.chosenPivot = vm::Vec4{p.x, p.y, p.z, 1};
    editorState.pivot = {p.x, p.y, p.z, 0};
    setStatusText(StatusPart::Message,
                  "pivot at point " + std::to_string(editorState.hoveredPoint));
}
