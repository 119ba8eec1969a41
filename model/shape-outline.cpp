#include "model/shape-outline.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/listed-number.h"
#include "model/tree-item-param.h"

std::string pointRowText(size_t index, const vm::Float3& p) {
    return std::to_string(index) + " " + listedPoint(p.x, p.y, p.z);
}

void insertPatchItem(ModelTree& tree, TreeItemHandle parent, TreeItemHandle after, size_t index) {
    OutlineItems::Patch& patch = tree.items.patch(index);
    patch.rows = false;
    const std::string name = "patch " + std::to_string(index) + " ";
    patch.item = tree.insertItem(
        parent, after, name, encodeTreeItemParam(TreeItemKind::Patch, static_cast<uint32_t>(index)),
        true);
}

bool expandPatchItem(ModelTree& tree, const Model& model, size_t index) {
    if (index >= model.patches.size()) return false;
    const Model::Patch& patch = model.patches[index];
    const TreeItemHandle item = tree.items.patchItem(index);
    if (!item || tree.firstChildOf(item)) return false;
    tree.items.patch(index).rows = true;
    for (int r = 0; r < 4; ++r) {
        TreeItemHandle row =
            tree.insertItem(item, nullptr, "[" + std::to_string(r) + "][..] ", std::nullopt, true);
        for (int c = 0; c < 4; ++c)
            tree.insertItem(row, nullptr,
                            std::to_string(patch.indices[static_cast<size_t>(4 * r + c)]) + " ",
                            std::nullopt, false);
    }
    return true;
}

namespace {

bool hasGroup(const Model& model, int32_t group) {
    return group >= 0 && static_cast<size_t>(group) < model.groups.size();
}

std::vector<OutlineItems::Folder>& foldersOf(ModelTree& tree, const Model& model, int32_t group) {
    return hasGroup(model, group) ? tree.items.group(static_cast<size_t>(group)).folders
                                  : tree.items.folders;
}

// The item of a group; a group that had no patches when the tree was made has none yet, and
// gets it now, at the top level.
TreeItemHandle groupItem(ModelTree& tree, const Model& model, int32_t index) {
    if (!hasGroup(model, index)) return nullptr;
    OutlineItems::Group& group = tree.items.group(static_cast<size_t>(index));
    if (!group.item)
        group.item = tree.insertItem(
            nullptr, nullptr, model.groups[static_cast<size_t>(index)]->name,
            encodeTreeItemParam(TreeItemKind::Group, static_cast<uint32_t>(index)), true);
    return group.item;
}

// "patches 2000-2499 ": the numbers folder k holds.
std::string folderText(const Model& model, size_t k) {
    const size_t last =
        std::max(std::min(model.patches.size(), (k + 1) * kFolderSize), k * kFolderSize + 1) - 1;
    return "patches " + std::to_string(k * kFolderSize) + "-" + std::to_string(last) + " ";
}

// The folder of patch index under parent, made when missing.
OutlineItems::Folder& folderOf(ModelTree& tree, const Model& model, size_t index,
                               TreeItemHandle parent) {
    std::vector<OutlineItems::Folder>& folders = foldersOf(tree, model, model.patches[index].group);
    const size_t k = index / kFolderSize;
    if (folders.size() <= k) folders.resize(k + 1);
    OutlineItems::Folder& folder = folders[k];
    if (!folder.item)
        folder.item = tree.insertItem(
            parent, nullptr, folderText(model, k),
            encodeTreeItemParam(TreeItemKind::Folder, static_cast<uint32_t>(k)), true);
    return folder;
}

void fill(ModelTree& tree, const Model& model) {
    OutlineItems& items = tree.items;
    items = {};
    items.patches.resize(model.patches.size());
    items.groups.resize(model.groups.size());
    items.inFolders = listsInFolders(model);
    items.foldersFor = model.patches.size();
    for (size_t i = 0; i < model.patches.size(); ++i)
        placeNewPatchItem(tree, model, i, nullptr);
    for (size_t i = 0; i < model.locators.size(); ++i) {
        const std::string& name = model.locators[i].name;
        items.locators.push_back(tree.insertLocatorItem(
            name.empty() ? "Locator_" + std::to_string(i) : name,
            encodeTreeItemParam(TreeItemKind::Locator, static_cast<uint32_t>(i))));
    }
    tree.resetPointRows(model.points.size(),
                        [&model](size_t p) { return pointRowText(p, model.points[p]); });
}

} // namespace

void placeNewPatchItem(ModelTree& tree, const Model& model, size_t index, TreeItemHandle after) {
    TreeItemHandle parent = groupItem(tree, model, model.patches[index].group);
    if (tree.items.inFolders) {
        OutlineItems::Folder& folder = folderOf(tree, model, index, parent);
        if (!folder.filled) {
            tree.items.patch(index).item = nullptr;
            return;
        }
        parent = folder.item;
    }
    if (after && tree.parentOf(after) != parent) after = nullptr;
    insertPatchItem(tree, parent, after, index);
}

bool fillFolder(ModelTree& tree, const Model& model, TreeItemHandle item) {
    const std::optional<uint32_t> param = tree.itemParam(item);
    if (!param || decodeTreeItemParam(*param).kind != TreeItemKind::Folder) return false;
    const size_t k = decodeTreeItemParam(*param).index;
    const TreeItemHandle parent = tree.parentOf(item);
    const std::optional<uint32_t> parentParam = parent ? tree.itemParam(parent) : std::nullopt;
    const int32_t group =
        parentParam ? static_cast<int32_t>(decodeTreeItemParam(*parentParam).index) : -1;
    std::vector<OutlineItems::Folder>& folders = foldersOf(tree, model, group);
    if (k >= folders.size() || folders[k].item != item || folders[k].filled) return false;
    folders[k].filled = true;
    const size_t end = std::min(model.patches.size(), (k + 1) * kFolderSize);
    for (size_t i = k * kFolderSize; i < end; ++i) {
        const int32_t own = model.patches[i].group;
        if ((hasGroup(model, own) ? own : -1) == group && !tree.items.patchItem(i))
            insertPatchItem(tree, item, nullptr, i);
    }
    return true;
}

void tidyFolders(ModelTree& tree, const Model& model) {
    OutlineItems& items = tree.items;
    if (items.foldersFor == model.patches.size()) return;
    items.foldersFor = model.patches.size();
    const size_t needed = (model.patches.size() + kFolderSize - 1) / kFolderSize;
    auto trim = [&](std::vector<OutlineItems::Folder>& folders) {
        for (; folders.size() > needed; folders.pop_back())
            if (folders.back().item) tree.deleteItem(folders.back().item);
        // The last folder's numbers changed, or folders that were last before are full now
        // (a hundred items at most).
        for (size_t k = 0; k < folders.size(); ++k)
            if (folders[k].item) tree.setItemText(folders[k].item, folderText(model, k));
    };
    trim(items.folders);
    for (OutlineItems::Group& group : items.groups)
        trim(group.folders);
}

void rebuildShapeOutline(ModelTree& tree, const Model& model) {
    tree.clearPointRows();
    tree.deleteAllItems();
    tree.pendingPointsItem = nullptr;
    fill(tree, model);
}

void setSlotText(ModelTree& tree, size_t patch, int row, int column, int value) {
    const TreeItemHandle item = tree.items.patchItem(patch);
    if (!item) return;
    TreeItemHandle rowItem = tree.childAt(item, static_cast<size_t>(row));
    TreeItemHandle slot = rowItem ? tree.childAt(rowItem, static_cast<size_t>(column)) : nullptr;
    if (slot) tree.setItemText(slot, std::to_string(value));
}

void updatePointRow(ModelTree& tree, const Model& model, size_t index) {
    if (index < model.points.size())
        tree.setPointRow(index, pointRowText(index, model.points[index]));
}
