// The shape window's tree after an undo or redo: only the items of the patches the step
// changed are made again, so that taking back a delete on a model of many thousand patches
// does not rebuild thousands of items.
#pragma once

#include "editor/model-history.h"
#include "model/model-tree.h"
#include "model/model.h"

// The items of patch positions from size on go.
void dropPatchItemsFrom(ModelTree& tree, size_t size);
// Before the step is applied: the items of the patches it will take away go.
void dropOutlineItems(ModelTree& tree, const ModelChange& change, bool undo);
// After it was applied: the changed patches' items stand under their groups again, with
// their rows (when expanded) showing their indices; the point list has a row per point.
// A step that changed the groups or the locators, or took the model across the size at
// which it is listed in folders, makes the whole tree anew (true then: the pending points'
// items went with it).
bool showChangeInOutline(ModelTree& tree, const Model& model, const ModelChange& change, bool undo);
