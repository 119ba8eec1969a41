#include "editor/history-outline.h"

#include "model/shape-outline.h"
#include "model/tree-item-param.h"

namespace {

// Patch index changed from `was` (its record before this undo or redo; none when the patch
// is new here). Decided from the model alone: asking the tree control about thousands of
// items costs more than the rest of an undo together.
void placePatchItem(ModelTree& tree, const Model& model, size_t index, const PatchRecord* was) {
    const Model::Patch& patch = model.patches[index];
    OutlineItems::Patch& item = tree.items.patch(index);
    const bool sameGroup = was && was->group == patch.group;
    if (item.item && sameGroup) {
        // Its place is right; its rows, when made, show the indices as they are now.
        if (item.rows && was->indices != patch.indices) {
            while (TreeItemHandle row = tree.firstChildOf(item.item))
                tree.deleteItem(row);
            item.rows = false;
            expandPatchItem(tree, model, index);
        }
        return;
    }
    const bool expanded = item.item && item.rows;
    if (item.item) tree.deleteItem(item.item);
    item.item = nullptr;
    TreeItemHandle after = nullptr;
    if (index > 0 && model.patches[index - 1].group == patch.group)
        after = tree.items.patchItem(index - 1);
    placeNewPatchItem(tree, model, index, after);
    if (expanded) expandPatchItem(tree, model, index);
}

} // namespace

void dropPatchItemsFrom(ModelTree& tree, size_t size) {
    std::vector<OutlineItems::Patch>& items = tree.items.patches;
    for (size_t i = size; i < items.size(); ++i)
        if (items[i].item) tree.deleteItem(items[i].item);
    if (items.size() > size) items.resize(size);
}

void dropOutlineItems(ModelTree& tree, const ModelChange& change, bool undo) {
    if (change.remakesOutline() || change.patches.empty()) return;
    dropPatchItemsFrom(tree, undo ? change.patches.sizeBefore : change.patches.sizeAfter);
}

bool showChangeInOutline(ModelTree& tree, const Model& model, const ModelChange& change,
                         bool undo) {
    if (change.remakesOutline() || listsInFolders(model) != tree.items.inFolders) {
        rebuildShapeOutline(tree, model);
        return true;
    }
    const ArrayChange<PatchRecord>& patches = change.patches;
    const size_t oldSize = undo ? patches.sizeAfter : patches.sizeBefore;
    const std::vector<PatchRecord>& old = undo ? patches.after : patches.before;
    for (size_t k = 0; k < patches.at.size(); ++k) {
        const size_t index = patches.at[k];
        if (index < model.patches.size())
            placePatchItem(tree, model, index, index < oldSize ? &old[k] : nullptr);
    }
    tidyFolders(tree, model);
    // The point list: rows added or taken away at its end (a list made anew only when very
    // many differ), and the rows of moved points shown again.
    const auto text = [&](size_t i) { return pointRowText(i, model.points[i]); };
    const size_t rows = tree.pointRowCount(), points = model.points.size();
    if ((rows > points ? rows - points : points - rows) > 4096) {
        tree.resetPointRows(points, text);
        return false;
    }
    while (tree.pointRowCount() > points)
        tree.removeLastPointRow();
    while (tree.pointRowCount() < points)
        tree.appendPointRow(text(tree.pointRowCount()));
    tree.setPointRows(change.points.at, text);
    return false;
}
