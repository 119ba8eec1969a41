#include <algorithm>
#include <cstring>
#include <optional>

#include "editor/command-runs.h"
#include "editor/command-status.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/model-operations.h"
#include "editor/patch-copies.h"
#include "editor/point-selection.h"
#include "editor/selection.h"

namespace {

// Where the add tool's pending pool points are (nothing for its new points).
std::vector<std::optional<vm::Float3>> pendingPoolPoints(const CommandContext& context) {
    std::vector<std::optional<vm::Float3>> at;
    const Model& model = context.document.model();
    for (const auto& point : context.editor.pendingPoints) {
        const auto* existing = dynamic_cast<const Editor::ExistingPoint*>(point.get());
        const size_t index = existing ? static_cast<size_t>(existing->index) : model.points.size();
        at.push_back(index < model.points.size() ? std::optional(model.points[index])
                                                 : std::nullopt);
    }
    return at;
}

// A pending point names a pool point by index: one whose point an undo took away or moved
// keeps its place (where it was before) as a new point.
void keepPendingPoints(CommandContext& context,
                       const std::vector<std::optional<vm::Float3>>& before) {
    const Model& model = context.document.model();
    PendingPoints& pending = context.editor.pendingPoints;
    for (size_t k = 0; k < pending.size() && k < before.size(); ++k) {
        if (!before[k]) continue;
        const auto index =
            static_cast<size_t>(static_cast<Editor::ExistingPoint&>(*pending[k]).index);
        const vm::Float3 p = *before[k];
        if (index < model.points.size() &&
            std::memcmp(&model.points[index], &p, sizeof(vm::Float3)) == 0)
            continue;
        const TreeItemHandle item = pending[k]->treeItem;
        pending[k] = std::make_unique<Editor::NewPoint>(vm::Vec4{p.x, p.y, p.z, 0});
        pending[k]->treeItem = item;
    }
}

CommandOutcome takeStep(CommandContext& context, bool undo) {
    context.host.finishGestures();
    const History& history = context.document.history();
    if (undo ? !history.canUndo() : !history.canRedo())
        return {false, undo ? "Nothing to undo" : "Nothing to redo"};
    const auto pendingAt = pendingPoolPoints(context);
    const std::string step = undo ? history.undoName() : history.redoName();
    if (undo)
        context.document.undo();
    else
        context.document.redo();
    keepPendingPoints(context, pendingAt);
    return {true, (undo ? "Undid " : "Redid ") + step};
}

size_t shownSelectedCount(const Model& model) {
    return static_cast<size_t>(
        std::count_if(model.patches.begin(), model.patches.end(),
                      [&](const Model::Patch& p) { return p.selected && model.isShown(p); }));
}

} // namespace

bool editModel(CommandContext& context, const char* name,
               const std::function<bool(Model&)>& change) {
    context.host.finishGestures();
    bool changed = false;
    context.document.edit(name, [&](Model& model) { changed = change(model); });
    return changed;
}

bool hasShownSelection(const CommandContext& context) {
    const Model& model = context.document.model();
    return std::any_of(model.patches.begin(), model.patches.end(),
                       [&](const Model::Patch& p) { return p.selected && model.isShown(p); });
}

CommandOutcome undoStep(CommandContext& context) {
    return takeStep(context, true);
}

CommandOutcome redoStep(CommandContext& context) {
    return takeStep(context, false);
}

CommandOutcome copySelection(CommandContext& context) {
    const Model& model = context.document.model();
    const std::string text = selectionText(model);
    if (text.empty()) return {false, "copy: select the patches to copy"};
    if (!context.host.putOnClipboard(text))
        return {false, "copy: the clipboard could not be opened"};
    return {true, "copied " + countOf(shownSelectedCount(model), "patch", "patches")};
}

CommandOutcome pasteClipboard(CommandContext& context) {
    const std::optional<std::string> text = context.host.clipboardText();
    if (!text) return {false, "paste: the clipboard holds no text"};
    size_t added = 0;
    std::string why;
    editModel(context, "Paste", [&](Model& model) {
        added = pasteText(model, *text, why);
        return added > 0;
    });
    if (added == 0) return {false, "paste refused: " + why, true};
    context.host.selectionChanged("paste");
    return {true, "pasted " + countOf(added, "patch", "patches")};
}

CommandOutcome duplicatePatches(CommandContext& context, bool inPlace) {
    const vm::Float3 offset = inPlace ? vm::Float3{} : duplicateOffset(context.document.model());
    size_t made = 0;
    editModel(context, "Duplicate", [&](Model& model) {
        made = duplicateSelection(model, offset);
        return made > 0;
    });
    if (made == 0) return {false, "duplicate: select the patches to copy"};
    context.host.selectionChanged("duplicate");
    return {true, "duplicated " + countOf(made, "patch", "patches") + (inPlace ? " in place" : "")};
}

CommandOutcome deletePatches(CommandContext& context) {
    const Model& before = context.document.model();
    const auto selected =
        static_cast<size_t>(std::count_if(before.patches.begin(), before.patches.end(),
                                          [](const Model::Patch& p) { return p.selected; }));
    if (selected == 0) return {false, "delete: select the patches to delete"};
    editModel(context, "Delete", [&](Model& model) {
        deleteSelection(model, context.editor.pendingPoints);
        return true;
    });
    return {true, "deleted " + countOf(selected, "patch", "patches")};
}

CommandOutcome selectEverything(CommandContext& context) {
    EditorState& editor = context.editor;
    Model& model = context.document.model();
    if (model.patches.empty()) return {false, "select all: the model has no patches"};
    if (editor.choosingPoints) {
        const std::vector<uint32_t> shown = shownPoints(model);
        if (shown.size() == editor.chosenPoints.size() &&
            std::all_of(shown.begin(), shown.end(),
                        [&](uint32_t i) { return editor.chosenPoints.contains(i); }))
            return {false, "select all: every shown point is chosen already"};
        editor.chosenPoints.choose(shown, {}, model.points.size());
        context.host.selectionChanged("select all", false);
        return {true, ""};
    }
    const bool wasAll = std::all_of(model.patches.begin(), model.patches.end(),
                                    [](const Model::Patch& p) { return p.selected; });
    // The selection's centre is the rotate tool's pivot; a drag under way keeps its own.
    const vm::Vec4 centre = selectAll(model);
    if (editor.tool == Tool::Rotate && !editor.transformDrag) editor.pivot = centre;
    if (wasAll) return {false, "select all: every patch is selected already"};
    context.host.selectionChanged("select all", false);
    return {true, ""};
}

CommandOutcome selectNothing(CommandContext& context) {
    EditorState& editor = context.editor;
    Model& model = context.document.model();
    if (editor.choosingPoints) {
        if (editor.chosenPoints.empty()) return {false, "select none: no point is chosen"};
        editor.chosenPoints.clear();
    } else {
        if (std::none_of(model.patches.begin(), model.patches.end(),
                         [](const Model::Patch& p) { return p.selected; }))
            return {false, "select none: no patch is selected"};
        selectPatch(model, -1, {}); // as a plain click on empty space
    }
    context.host.selectionChanged("select none");
    return {true, ""};
}

// Switching to points with patches selected chooses their points (shared ones included):
// what the user sees.
CommandOutcome switchChoosing(CommandContext& context) {
    context.host.finishGestures();
    EditorState& editor = context.editor;
    editor.choosingPoints = !editor.choosingPoints;
    const Model& model = context.document.model();
    if (editor.choosingPoints) {
        const std::vector<uint32_t> points = pointsOfSelectedPatches(model);
        if (!points.empty()) editor.chosenPoints.choose(points, {}, model.points.size());
    }
    context.host.selectionChanged(editor.choosingPoints ? "points" : "patches", false);
    return {true, editor.choosingPoints ? "Choosing points (P: patches)"
                                        : "Choosing patches (P: points)"};
}
