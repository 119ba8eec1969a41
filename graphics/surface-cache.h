// The CPU path's evaluated surfaces: every patch's 6 × 6 grid of surface points and normals,
// kept between frames. After points moved only the patches that use them are evaluated
// again; the topology changing (patches, indices, the pool's size) evaluates them all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/vector-math.h"
#include "model/bezier-surface.h"
#include "model/model.h"

class SurfaceCache {
  public:
    // Patch ranges [first, end) whose grid changed, in order, not overlapping.
    using Ranges = std::vector<std::pair<size_t, size_t>>;

    // Brings the grids up to date with model and returns what changed (nothing when nothing
    // did; one range of every patch when all were evaluated).
    const Ranges& update(const Model& model);
    // Whether the last update changed the number of patches (buffers of the new size needed).
    bool resized() const { return resized_; }

    // Patch i's grid at kGridVertices · i.
    const std::vector<vm::Float3>& vertices() const { return vertices_; }
    const std::vector<vm::Float3>& normals() const { return normals_; }
    // The patches evaluated by the last update.
    size_t evaluated() const { return evaluated_; }
    // The patches that use any of points (sorted, once each), as of the last update.
    void patchesUsing(const std::vector<uint32_t>& points, std::vector<uint32_t>& out) const;

  private:
    void evaluate(const Model& model, size_t patch);
    void evaluateAll(const Model& model);
    void buildUsers(const Model& model);

    const Model* model_ = nullptr;
    uint64_t topology_ = 0, points_ = 0;
    std::vector<vm::Float3> vertices_, normals_;
    // The patches using point k: users_[usersStart_[k] … usersStart_[k + 1]).
    std::vector<uint32_t> usersStart_, users_;
    std::vector<uint32_t> moved_, dirty_;
    Ranges ranges_;
    bool resized_ = false;
    size_t evaluated_ = 0;
};
