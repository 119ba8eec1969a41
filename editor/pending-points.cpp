#include "editor/pending-points.h"

#include <string>

#include "core/listed-number.h"

bool addPendingPoint(PendingPoints& pending, Model& model, ModelTree& tree, bool hot,
                     int hoveredPoint, vm::Vec4 cursor) {
    if (pending.empty()) tree.insertPendingPointsItem();
    if (hot && hoveredPoint >= 0 && static_cast<size_t>(hoveredPoint) < model.points.size())
        pending.push_back(std::make_unique<Editor::ExistingPoint>(model, hoveredPoint));
    else
        pending.push_back(std::make_unique<Editor::NewPoint>(cursor));
    pending.back()->treeItem = tree.insertPendingPoint(pendingPointLabel(*pending.back()));
    if (pending.size() < 16) return false;
    // The points become the patch: their items go (the patch's own item comes with the step).
    for (auto& point : pending)
        if (point->treeItem) tree.deleteItem(point->treeItem);

    Model::Patch patch;
    for (size_t i = 0; i < 16; ++i) {
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(pending[i].get())) {
            patch.indices[i] = existing->index;
        } else {
            const vm::Vec4 p = pending[i]->position();
            patch.indices[i] = static_cast<int32_t>(model.points.size());
            model.points.push_back({p.x, p.y, p.z});
        }
    }
    model.patches.push_back(patch);
    pending.clear();
    return true;
}

std::string pendingPointLabel(const Editor::Point& point) {
    if (const auto* existing = dynamic_cast<const Editor::ExistingPoint*>(&point))
        return std::to_string(existing->index);
    const vm::Vec4 p = point.position();
    return listedPoint(p.x, p.y, p.z);
}

void relistPendingPoints(PendingPoints& pending, ModelTree& tree) {
    if (pending.empty()) return;
    tree.insertPendingPointsItem();
    for (auto& point : pending)
        point->treeItem = tree.insertPendingPoint(pendingPointLabel(*point));
}

bool removeLastPendingPoint(PendingPoints& pending, ModelTree& tree) {
    if (pending.empty()) return false;
    if (pending.back()->treeItem) tree.deleteItem(pending.back()->treeItem);
    pending.pop_back();
    return true;
}

std::vector<vm::Vec4> pendingPositions(const PendingPoints& pending) {
    std::vector<vm::Vec4> at;
    for (const auto& point : pending)
        at.push_back(point->position());
    return at;
}

void followRenumbering(PendingPoints& pending, const std::vector<int32_t>& renumbered,
                       const std::vector<vm::Vec4>& before) {
    for (size_t k = 0; k < pending.size() && k < before.size(); ++k) {
        auto* existing = dynamic_cast<Editor::ExistingPoint*>(pending[k].get());
        if (!existing || existing->index < 0 ||
            static_cast<size_t>(existing->index) >= renumbered.size())
            continue;
        existing->index = renumbered[static_cast<size_t>(existing->index)];
        if (existing->index >= 0) continue;
        const TreeItemHandle item = pending[k]->treeItem;
        pending[k] = std::make_unique<Editor::NewPoint>(before[k]);
        pending[k]->treeItem = item;
    }
}
