#include "editor/pending-points.h"

#include <cstdio>

bool addPendingPoint(PendingPoints& pending, Model& model, std::vector<int>& useCount,
                     ModelTree& tree, bool hot, int hoveredPoint, vm::Vec4 cursor) {
    if (pending.empty()) tree.insertPendingPointsItem();
    char label[128];
    if (hot && hoveredPoint >= 0 && static_cast<size_t>(hoveredPoint) < model.points.size()) {
        pending.push_back(std::make_unique<Editor::ExistingPoint>(model, hoveredPoint));
        std::snprintf(label, sizeof label, "%d", hoveredPoint);
    } else {
        pending.push_back(std::make_unique<Editor::NewPoint>(cursor));
        std::snprintf(label, sizeof label, "%f %f %f ", static_cast<double>(cursor.x),
                      static_cast<double>(cursor.y), static_cast<double>(cursor.z));
    }
    pending.back()->treeItem = tree.insertPendingPoint(label);
    if (pending.size() < 16) return false;

    useCount.resize(model.points.size(), 0);
    Model::Patch patch;
    for (size_t i = 0; i < 16; ++i) {
        if (auto* existing = dynamic_cast<Editor::ExistingPoint*>(pending[i].get())) {
            patch.indices[i] = existing->index;
            ++useCount[static_cast<size_t>(existing->index)];
        } else {
            const vm::Vec4 p = pending[i]->position();
            patch.indices[i] = static_cast<int32_t>(model.points.size());
            model.points.push_back({p.x, p.y, p.z});
            useCount.push_back(1);
        }
    }
    model.patches.push_back(patch);
    model.rebuildBuffers();
    pending.clear();
    return true;
}

bool removeLastPendingPoint(PendingPoints& pending, ModelTree& tree) {
    if (pending.empty()) return false;
    if (pending.back()->treeItem) tree.deleteItem(pending.back()->treeItem);
    pending.pop_back();
    return true;
}
