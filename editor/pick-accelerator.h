// Picking at the speed of the mouse on large models. While the camera and the model stand
// still, every mouse move asks the same question of different screen positions, so the
// points' screen positions and the patches' screen boxes are worked out once and kept in a
// grid. The answers are exactly those of pickPoint and pickPatch.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/picking.h"

class PickAccelerator {
  public:
    // As pickPoint; viewProjection is the view × projection of the viewport.
    PointPick pickPoint(const Model& model, const vm::Mat4& world, const vm::Mat4& viewProjection,
                        const std::vector<int>& useCount, float nx, float ny);
    // As pickPatch; viewProjection must be the one the ray's viewport is seen with.
    PatchPick pickPatch(const Model& model, const vm::Mat4& world, const vm::Mat4& viewProjection,
                        const OrbitCamera& camera, const ViewportHit& hit);

  private:
    // Items bucketed by screen cell: cell c holds items[start[c] .. start[c + 1]), ascending.
    struct Grid {
        float x0 = -1, y0 = -1, cell = 1; // lower corner and cell size in screen units
        int size = 0;                     // cells per side
        std::vector<uint32_t> start, items;
        std::vector<uint32_t> elsewhere; // items outside the grid, ascending
        int cellX(float x) const;
        int cellY(float y) const;
    };

    bool refresh(const Model& model, const vm::Mat4& m);

    const Model* model_ = nullptr;
    uint64_t revision_ = 0;
    vm::Mat4 matrix_;
    bool valid_ = false;
    std::vector<ScreenPoint> screen_;
    std::vector<uint32_t> cellOf_; // each point's cell, or ~0 outside the grid
    Grid points_;
    bool patchesBuilt_ = false;
    Grid patches_;
};
