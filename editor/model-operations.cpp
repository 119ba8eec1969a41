#include "editor/model-operations.h"

#include "editor/selection.h"
#include "model/shape-outline.h"
#include "model/tree-item-param.h"

namespace {

bool inPool(const Model& model, int index) {
    return index >= 0 && static_cast<size_t>(index) < model.points.size();
}

// Every slot of every patch equal to from becomes to, with its tree text.
void renameSlots(Model& model, ModelTree& tree, int from, int to) {
    for (Model::Patch& patch : model.patches)
        for (int s = 0; s < 16; ++s)
            if (patch.indices[static_cast<size_t>(s)] == from) {
                patch.indices[static_cast<size_t>(s)] = to;
                setSlotText(tree, patch, s / 4, s % 4, to);
            }
}

void moveIntoGroup(Model& model, ModelTree& tree, size_t index, int group) {
    Model::Patch& patch = model.patches[index];
    if (patch.treeItem) tree.deleteItem(patch.treeItem);
    patch.group = group;
    insertPatchItem(tree, model.groups[static_cast<size_t>(group)]->treeItem, nullptr, model,
                    index);
}

} // namespace

void groupSelection(Model& model, ModelTree& tree) {
    int group = -1;
    for (size_t i = 0; i < model.patches.size(); ++i) {
        if (!model.patches[i].selected) continue;
        if (group < 0) {
            group = static_cast<int>(model.groups.size());
            // Groups hold patches only: a patch already in a group places the new group
            // after that group's item, at the top level.
            TreeItemHandle anchor = model.patches[i].treeItem;
            while (anchor && tree.parentOf(anchor))
                anchor = tree.parentOf(anchor);
            auto created = std::make_unique<Model::Group>(firstUnusedGroupName(model, "group_"));
            created->treeItem = tree.insertItem(
                nullptr, anchor, created->name,
                encodeTreeItemParam(TreeItemKind::Group, static_cast<uint32_t>(group)), true);
            model.groups.push_back(std::move(created));
        }
        moveIntoGroup(model, tree, i, group);
    }
}

void makeSymmetry(Model& model, ModelTree& tree) {
    const int group = static_cast<int>(model.groups.size());
    auto symmetry = std::make_unique<Model::Symmetry>(firstUnusedGroupName(model, "Sym_"));
    symmetry->treeItem = tree.insertItem(
        nullptr, nullptr, symmetry->name,
        encodeTreeItemParam(TreeItemKind::Group, static_cast<uint32_t>(group)), true);
    model.groups.push_back(std::move(symmetry));
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (model.patches[i].selected) moveIntoGroup(model, tree, i, group);
}

bool ungroupSelection(Model& model, ModelTree& tree) {
    bool changed = false;
    for (size_t i = 0; i < model.patches.size(); ++i) {
        Model::Patch& patch = model.patches[i];
        if (!patch.selected || patch.group < 0) continue;
        const TreeItemHandle groupItem = model.groups[static_cast<size_t>(patch.group)]->treeItem;
        if (patch.treeItem) tree.deleteItem(patch.treeItem);
        patch.treeItem = nullptr;
        patch.group = -1;
        insertPatchItem(tree, nullptr, groupItem, model, i);
        changed = true;
    }
    return changed;
}

bool dissociatePoint(Model& model, ModelTree& tree, std::vector<int>& useCount, int k) {
    if (!inPool(model, k)) return false;
    int target = -1, slot = -1;
    for (int i = static_cast<int>(model.patches.size()) - 1; i >= 0; --i) {
        const Model::Patch& patch = model.patches[static_cast<size_t>(i)];
        if (!model.isShown(patch)) continue;
        int found = -1;
        for (int s = 0; s < 16 && found < 0; ++s)
            if (patch.indices[static_cast<size_t>(s)] == k) found = s;
        if (found < 0) continue;
        if (target < 0) {
            target = i;
            slot = found;
            continue;
        }
        Model::Patch& receiver = model.patches[static_cast<size_t>(target)];
        vm::Float3 m{0, 0, 0};
        for (int s = 0; s < 16; ++s) {
            if (s == slot) continue;
            const vm::Float3& q =
                model.points[static_cast<size_t>(receiver.indices[static_cast<size_t>(s)])];
            m = {m.x + q.x, m.y + q.y, m.z + q.z};
        }
        m = {m.x / 15, m.y / 15, m.z / 15};
        const vm::Float3 p = model.points[static_cast<size_t>(k)];
        const vm::Float3 q{m.x + 0.8f * (p.x - m.x), m.y + 0.8f * (p.y - m.y),
                           m.z + 0.8f * (p.z - m.z)};
        const int n = static_cast<int>(model.points.size());
        receiver.indices[static_cast<size_t>(slot)] = n;
        setSlotText(tree, receiver, slot / 4, slot % 4, n);
        model.points.push_back(q);
        tree.appendPointRow(pointRowText(static_cast<size_t>(n), q));
        useCount.resize(static_cast<size_t>(n), 0);
        useCount.push_back(1);
        model.rebuildBuffers();
        return true;
    }
    return false;
}

bool jointPoints(Model& model, ModelTree& tree, std::vector<int>& useCount, PendingPoints& pending,
                 int a, int b) {
    if (b == a || !inPool(model, a) || !inPool(model, b)) return false;
    const int last = static_cast<int>(model.points.size()) - 1;
    renameSlots(model, tree, b, a);
    renameSlots(model, tree, last, b);
    useCount.resize(model.points.size(), 0);
    model.points[static_cast<size_t>(b)] = model.points[static_cast<size_t>(last)];
    useCount[static_cast<size_t>(b)] = useCount[static_cast<size_t>(last)];
    updatePointRow(tree, model, static_cast<size_t>(b));
    model.points.pop_back();
    useCount.pop_back();
    tree.removeLastPointRow();
    for (auto& point : pending)
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get())) {
            if (existing->index == b) existing->index = a;
            if (existing->index == last) existing->index = b;
        }
    model.rebuildBuffers();
    return true;
}

void deleteSelection(Model& model, ModelTree& tree, std::vector<int>& useCount,
                     PendingPoints& pending) {
    // Per point, the unselected patches using it (once per slot).
    std::vector<std::vector<size_t>> users(model.points.size());
    for (size_t i = 0; i < model.patches.size(); ++i) {
        Model::Patch& patch = model.patches[i];
        if (patch.selected) {
            if (patch.treeItem) tree.deleteItem(patch.treeItem);
            patch.treeItem = nullptr;
            continue;
        }
        for (int32_t index : patch.indices)
            if (inPool(model, index)) users[static_cast<size_t>(index)].push_back(i);
    }

    // Pending points name pool points by index: follow them as points move or go.
    std::vector<int> newIndex(model.points.size());
    std::vector<size_t> original(model.points.size()); // which point each position holds now
    for (size_t i = 0; i < newIndex.size(); ++i)
        newIndex[i] = static_cast<int>(original[i] = i);
    for (auto& point : pending)
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get());
            existing && inPool(model, existing->index) &&
            users[static_cast<size_t>(existing->index)].empty()) {
            const TreeItemHandle item = point->treeItem;
            point = std::make_unique<Editor::NewPoint>(point->position());
            point->treeItem = item;
        }

    size_t removed = 0;
    for (size_t i = model.points.size(); i-- > 0;) {
        if (!users[i].empty()) continue;
        const size_t last = model.points.size() - removed - 1;
        model.points[i] = model.points[last];
        original[i] = original[last];
        newIndex[original[i]] = static_cast<int>(i);
        updatePointRow(tree, model, i);
        tree.removeLastPointRow();
        for (size_t p : users[last]) {
            Model::Patch& patch = model.patches[p];
            for (int s = 0; s < 16; ++s)
                if (patch.indices[static_cast<size_t>(s)] == static_cast<int32_t>(last)) {
                    patch.indices[static_cast<size_t>(s)] = static_cast<int32_t>(i);
                    setSlotText(tree, patch, s / 4, s % 4, static_cast<int>(i));
                }
        }
        users[i] = users[last];
        ++removed;
    }
    model.points.resize(model.points.size() - removed);
    for (auto& point : pending)
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get()))
            existing->index = newIndex[static_cast<size_t>(existing->index)];

    // Keep the survivors in order; their items name their new indices.
    size_t kept = 0;
    for (size_t i = 0; i < model.patches.size(); ++i) {
        if (model.patches[i].selected) continue;
        if (kept != i) model.patches[kept] = model.patches[i];
        Model::Patch& patch = model.patches[kept];
        if (patch.treeItem && kept != i) {
            tree.setItemText(patch.treeItem, "patch " + std::to_string(kept) + " ");
            tree.setItemParam(patch.treeItem, encodeTreeItemParam(TreeItemKind::Patch,
                                                                  static_cast<uint32_t>(kept)));
        }
        ++kept;
    }
    model.patches.resize(kept);
    model.rebuildBuffers();
    rebuildUseCount(model, useCount);
}
