// Picking at the speed of the mouse on large models, from any camera. The points and the
// patches' nets are kept in box hierarchies built in model space once per model change,
// so a mouse move, even the first after the camera moved, looks only at the boxes near
// the question. The answers are exactly those of pickPoint and pickPatch.
#pragma once

#include <cstdint>

#include "editor/box-tree.h"
#include "editor/picking.h"

class PickAccelerator {
  public:
    // The count of the model's changes (its GPU copy's revision): what was kept for another
    // count is brought up to date by the next pick that needs it.
    void follow(uint64_t revision) { revision_ = revision; }

    // As pickPoint; viewProjection is the view × projection of the viewport.
    PointPick pickPoint(const Model& model, const vm::Mat4& world, const vm::Mat4& viewProjection,
                        const std::vector<int>& useCount, float nx, float ny);
    // As pickPatch.
    PatchPick pickPatch(const Model& model, const vm::Mat4& world, const OrbitCamera& camera,
                        const ViewportHit& hit);

  private:
    // A hierarchy and the model state it was made for; each is brought up to date only when
    // a pick needs it (point picks and patch picks come from different tools).
    struct Kept {
        BoxTree tree;
        const Model* model = nullptr;
        uint64_t revision = 0;
        size_t count = 0; // items the tree holds
        bool valid = false;
        bool current(const Model& m, uint64_t r) const;
        // Builds, extends or refits the tree for count items boxed by boxOf.
        template <class BoxOf> void update(const Model& m, uint64_t r, size_t items, BoxOf boxOf);
    };
    void refreshPoints(const Model& model);
    void refreshPatches(const Model& model);

    uint64_t revision_ = 0;
    Kept points_;
    Kept patches_;
};
