#include "editor/outline-view.h"

#include "editor/history-outline.h"
#include "model/shape-outline.h"

bool OutlineView::changesManyItems(const ModelChange& step) {
    const size_t before = step.patches.sizeBefore, after = step.patches.sizeAfter;
    return step.remakesOutline() || (before > after ? before - after : after - before) > 1;
}

void OutlineView::documentWillChange(const Document&, const ModelChange& step, bool undo) {
    // An undo or redo drops the items of patches that go before it applies the step.
    if (changesManyItems(step)) {
        beginShowing(true);
        showing_ = true;
    }
    dropOutlineItems(tree_, step, undo);
}

void OutlineView::documentChanged(const Document& document, const DocumentChange& change) {
    const Model& model = document.model();
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
        // Each position keeps its item; positions that went lose theirs.
        if (edit && !change.step->remakesOutline()) dropPatchItemsFrom(tree_, model.patches.size());
        remade_ = showChangeInOutline(tree_, model, *change.step, change.kind == Kind::Undo);
    }
    showing_ = false;
    endShowing(document, change);
}
