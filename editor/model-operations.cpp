#include "editor/model-operations.h"

#include "editor/selection.h"
#include "model/point-users.h"

namespace {

bool inPool(const Model& model, int index) {
    return index >= 0 && static_cast<size_t>(index) < model.points.size();
}

// Every slot of every patch equal to from becomes to.
void renameSlots(Model& model, int from, int to) {
    for (Model::Patch& patch : model.patches)
        for (int32_t& index : patch.indices)
            if (index == from) index = to;
}

} // namespace

void groupSelection(Model& model) {
    int group = -1;
    for (Model::Patch& patch : model.patches) {
        if (!patch.selected) continue;
        if (group < 0) {
            group = static_cast<int>(model.groups.size());
            model.groups.push_back(
                std::make_unique<Model::Group>(firstUnusedGroupName(model, "group_")));
        }
        patch.group = group;
    }
}

void makeSymmetry(Model& model) {
    const int group = static_cast<int>(model.groups.size());
    model.groups.push_back(std::make_unique<Model::Symmetry>(firstUnusedGroupName(model, "Sym_")));
    for (Model::Patch& patch : model.patches)
        if (patch.selected) patch.group = group;
}

bool ungroupSelection(Model& model) {
    bool changed = false;
    for (Model::Patch& patch : model.patches) {
        if (!patch.selected || patch.group < 0) continue;
        patch.group = -1;
        changed = true;
    }
    return changed;
}

bool dissociatePoint(Model& model, int k) {
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
        model.points.push_back(q);
        return true;
    }
    return false;
}

bool jointPoints(Model& model, PendingPoints& pending, int a, int b) {
    if (b == a || !inPool(model, a) || !inPool(model, b)) return false;
    const int last = static_cast<int>(model.points.size()) - 1;
    renameSlots(model, b, a);
    renameSlots(model, last, b);
    model.points[static_cast<size_t>(b)] = model.points[static_cast<size_t>(last)];
    model.points.pop_back();
    for (auto& point : pending)
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get())) {
            if (existing->index == b) existing->index = a;
            if (existing->index == last) existing->index = b;
        }
    return true;
}

void deleteSelection(Model& model, PendingPoints& pending) {
    // Per point, the unselected patches using it; and whose users the point at each
    // position has, as points move down into the gaps.
    const size_t count = model.points.size();
    PointUsers users;
    users.build(model, [](const Model::Patch& patch) { return !patch.selected; });
    std::vector<uint32_t> listOf(count);
    for (size_t k = 0; k < count; ++k)
        listOf[k] = static_cast<uint32_t>(k);
    auto used = [&](size_t k) { return users.used(listOf[k]); };

    // Pending points name pool points by index: follow them as points move or go.
    std::vector<int> newIndex(count);
    std::vector<size_t> original(count); // which point each position holds now
    for (size_t i = 0; i < newIndex.size(); ++i)
        newIndex[i] = static_cast<int>(original[i] = i);
    for (auto& point : pending)
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get());
            existing && inPool(model, existing->index) &&
            !used(static_cast<size_t>(existing->index))) {
            const TreeItemHandle item = point->treeItem;
            point = std::make_unique<Editor::NewPoint>(point->position());
            point->treeItem = item;
        }

    size_t removed = 0;
    for (size_t i = count; i-- > 0;) {
        if (used(i)) continue;
        const size_t last = count - removed - 1;
        model.points[i] = model.points[last];
        original[i] = original[last];
        newIndex[original[i]] = static_cast<int>(i);
        for (const uint32_t* u = users.begin(listOf[last]); u != users.end(listOf[last]); ++u)
            for (int32_t& index : model.patches[*u].indices)
                if (index == static_cast<int32_t>(last)) index = static_cast<int32_t>(i);
        listOf[i] = listOf[last];
        ++removed;
    }
    model.points.resize(model.points.size() - removed);
    for (auto& point : pending)
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(point.get()))
            existing->index = newIndex[static_cast<size_t>(existing->index)];

    // The survivors keep their order.
    size_t kept = 0;
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (!model.patches[i].selected) model.patches[kept++] = model.patches[i];
    model.patches.resize(kept);
}
