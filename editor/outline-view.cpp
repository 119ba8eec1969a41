#include "editor/outline-view.h"

#include "editor/history-outline.h"
#include "model/shape-outline.h"

namespace {

// The item handles are kept beside each element of the model but are the tree's own
// bookkeeping: writing them changes nothing the document holds.
Model& itemsOf(const Document& document) {
    return const_cast<Model&>(document.model());
}

} // namespace

void OutlineView::documentWillEdit(const Document& document) {
    const Model& model = document.model();
    positions_.clear();
    positions_.reserve(model.patches.size());
    for (const Model::Patch& patch : model.patches)
        positions_.emplace_back(patch.treeItem, patch.treeRows);
    noted_ = true;
}

bool OutlineView::changesManyItems(const ModelChange& step) {
    const size_t before = step.patches.sizeBefore, after = step.patches.sizeAfter;
    return step.remakesOutline() || (before > after ? before - after : after - before) > 1;
}

void OutlineView::documentWillChange(const Document& document, const ModelChange& step, bool undo) {
    // An undo or redo drops the items of patches that go before it applies the step.
    if (changesManyItems(step)) {
        beginShowing(true);
        showing_ = true;
    }
    dropOutlineItems(tree_, itemsOf(document), step, undo);
}

// An operation that moved patches about moved their item handles with them: each position
// takes its own item back, positions that went lose theirs, new ones start without.
void OutlineView::restorePositions(Model& model, const ModelChange& step) {
    if (step.remakesOutline()) return; // made anew anyway
    for (size_t i = model.patches.size(); i < positions_.size(); ++i)
        if (positions_[i].first) tree_.deleteItem(positions_[i].first);
    for (size_t i = 0; i < model.patches.size(); ++i) {
        Model::Patch& patch = model.patches[i];
        patch.treeItem = i < positions_.size() ? positions_[i].first : nullptr;
        patch.treeRows = i < positions_.size() && positions_[i].second;
    }
}

void OutlineView::documentChanged(const Document& document, const DocumentChange& change) {
    Model& model = itemsOf(document);
    using Kind = DocumentChange::Kind;
    const bool edit = change.kind == Kind::Edit;
    if (!edit && change.kind != Kind::Undo && change.kind != Kind::Redo &&
        change.kind != Kind::Replaced)
        return;
    if (!showing_) beginShowing(change.kind == Kind::Replaced || changesManyItems(*change.step));
    remade_ = change.kind == Kind::Replaced;
    if (remade_) {
        rebuildShapeOutline(tree_, model);
    } else {
        if (edit && noted_) restorePositions(model, *change.step);
        remade_ = showChangeInOutline(tree_, model, *change.step, change.kind == Kind::Undo);
    }
    noted_ = false;
    showing_ = false;
    positions_.clear();
    endShowing(document, change);
}
