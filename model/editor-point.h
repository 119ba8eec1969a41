// Pending points of the add tool: either a point still to be created or a pool point.
#pragma once

#include "core/vector-math.h"
#include "model/handles.h"
#include "model/model.h"

namespace Editor {

struct Point {
    virtual ~Point() = default;
    virtual vm::Vec4 position() const = 0;
    // Its item under "<New Points>", which also holds locators: taking the point back
    // removes this item and no other.
    TreeItemHandle treeItem = nullptr;
};

struct NewPoint : Point {
    explicit NewPoint(vm::Vec4 p) : pos(p) {}
    vm::Vec4 position() const override { return pos; }
    vm::Vec4 pos;
};

struct ExistingPoint : Point {
    ExistingPoint(const Model& m, int i) : model(&m), index(i) {}
    // (x, y, z, 0) of the pool point.
    vm::Vec4 position() const override {
        const vm::Float3& p = model->points[static_cast<size_t>(index)];
        return {p.x, p.y, p.z, 0};
    }
    const Model* model;
    int index;
};

} // namespace Editor
