#include "model/shape-outline.h"

#include <cstdio>
#include <vector>

#include "model/tree-item-param.h"

std::string pointRowText(size_t index, const vm::Float3& p) {
    char text[512];
    std::snprintf(text, sizeof text, "%d %f %f %f ", static_cast<int>(index),
                  static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z));
    return text;
}

void insertPatchItem(ModelTree& tree, TreeItemHandle parent, TreeItemHandle after, Model& model,
                     size_t index) {
    Model::Patch& patch = model.patches[index];
    patch.treeRows = false;
    const std::string name = "patch " + std::to_string(index) + " ";
    patch.treeItem = tree.insertItem(
        parent, after, name, encodeTreeItemParam(TreeItemKind::Patch, static_cast<uint32_t>(index)),
        true);
}

bool expandPatchItem(ModelTree& tree, Model& model, size_t index) {
    if (index >= model.patches.size()) return false;
    Model::Patch& patch = model.patches[index];
    if (!patch.treeItem || tree.firstChildOf(patch.treeItem)) return false;
    patch.treeRows = true;
    for (int r = 0; r < 4; ++r) {
        TreeItemHandle row = tree.insertItem(
            patch.treeItem, nullptr, "[" + std::to_string(r) + "][..] ", std::nullopt, true);
        for (int c = 0; c < 4; ++c)
            tree.insertItem(row, nullptr,
                            std::to_string(patch.indices[static_cast<size_t>(4 * r + c)]) + " ",
                            std::nullopt, false);
    }
    return true;
}

namespace {

void fill(ModelTree& tree, Model& model) {
    for (auto& group : model.groups)
        group->treeItem = nullptr;
    for (size_t i = 0; i < model.patches.size(); ++i) {
        Model::Patch& patch = model.patches[i];
        TreeItemHandle parent = nullptr;
        if (patch.group >= 0 && static_cast<size_t>(patch.group) < model.groups.size()) {
            Model::Group& group = *model.groups[static_cast<size_t>(patch.group)];
            if (!group.treeItem)
                group.treeItem = tree.insertItem(
                    nullptr, nullptr, group.name,
                    encodeTreeItemParam(TreeItemKind::Group, static_cast<uint32_t>(patch.group)),
                    true);
            parent = group.treeItem;
        }
        insertPatchItem(tree, parent, nullptr, model, i);
    }
    for (size_t i = 0; i < model.locators.size(); ++i) {
        Model::Locator& locator = model.locators[i];
        if (locator.name.empty()) locator.name = "Locator_" + std::to_string(i);
        locator.treeItem = tree.insertLocatorItem(
            locator.name, encodeTreeItemParam(TreeItemKind::Locator, static_cast<uint32_t>(i)));
    }
    tree.resetPointRows(model.points.size(),
                        [&model](size_t p) { return pointRowText(p, model.points[p]); });
}

} // namespace

void rebuildShapeOutline(ModelTree& tree, Model& model) {
    tree.clearPointRows();
    tree.deleteAllItems();
    tree.pendingPointsItem = nullptr;
    for (auto& patch : model.patches)
        patch.treeItem = nullptr;
    fill(tree, model);
}

void setSlotText(ModelTree& tree, const Model::Patch& patch, int row, int column, int value) {
    if (!patch.treeItem) return;
    TreeItemHandle rowItem = tree.childAt(patch.treeItem, static_cast<size_t>(row));
    TreeItemHandle slot = rowItem ? tree.childAt(rowItem, static_cast<size_t>(column)) : nullptr;
    if (slot) tree.setItemText(slot, std::to_string(value));
}

void updatePointRow(ModelTree& tree, const Model& model, size_t index) {
    if (index < model.points.size())
        tree.setPointRow(index, pointRowText(index, model.points[index]));
}
