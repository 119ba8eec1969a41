// How the model is laid out in the shape window: groups holding "patch %d " items, each
// with four "[%d][..] " rows of four "%d " control-point indices, and one row per pool point
// ("%d" and three listedNumber values). A model of more than kFolderSize patches lists them in
// folders of kFolderSize consecutive numbers ("patches 0-999 "), at the top level and in each
// group, whose items are made when the folder is first expanded: a tree control of a hundred
// thousand items is slow to change.
#pragma once

#include <string>

#include "model/model-tree.h"
#include "model/model.h"

inline constexpr size_t kFolderSize = 1000;

std::string pointRowText(size_t index, const vm::Float3& p);

inline bool listsInFolders(const Model& model) {
    return model.patches.size() > kFolderSize;
}

// Inserts the item of patch `index` under parent (null: the top level), after `after` (null:
// last), and keeps it in the tree's items. Its four rows of indices are made only when it is
// expanded: a model of many thousand patches costs one item each.
void insertPatchItem(ModelTree& tree, TreeItemHandle parent, TreeItemHandle after, size_t index);
// Makes patch index's item where it belongs (its group's item, made when missing, or the
// top level; in its folder there when the model is listed in folders), after `after` when
// that item has the same parent (null: last). A patch whose folder is closed gets no item
// until the folder is expanded.
void placeNewPatchItem(ModelTree& tree, const Model& model, size_t index, TreeItemHandle after);

// Makes the items of a folder's patches when it is first expanded; false when the item is
// no folder or it was filled before.
bool fillFolder(ModelTree& tree, const Model& model, TreeItemHandle folder);

// After patches came or went: drops the folders past the last patch and names the last
// folders' numbers as they are now. (A model that crossed the size at which it is listed in
// folders gets its tree made anew.)
void tidyFolders(ModelTree& tree, const Model& model);

// Makes the four "[%d][..] " rows of four "%d " indices under patch `index`'s item, from the
// patch as it is now; false when it has them already (or no item). Operations that change a
// patch's indices update the rows that exist.
bool expandPatchItem(ModelTree& tree, const Model& model, size_t index);

// Empties the tree and the point list and fills them from the model: groups at the top
// level with their patches (a group without patches gets no item), ungrouped patches at the
// top level, then the locators (made again with their names, "Locator_i" for one without; the
// pending-points item goes with the rest) and one row per point.
void rebuildShapeOutline(ModelTree& tree, const Model& model);

// The index item of slot (row, column) of patch `patch` shows value.
void setSlotText(ModelTree& tree, size_t patch, int row, int column, int value);

// Row i of the point list shows point i as it is now.
void updatePointRow(ModelTree& tree, const Model& model, size_t index);
