// The CPU path's evaluated surfaces: each patch's grid of surface points and normals at the
// segments its size on the screen asks, kept between frames. Only what changed level, or
// uses points that moved, is evaluated again; the topology changing evaluates everything.
// A patch's grid lies at firstVertex(i), (n + 1)² vertices for n segments a side.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/vector-math.h"
#include "graphics/gpu-model-copy.h"
#include "model/bezier-surface.h"
#include "model/model.h"
#include "model/point-users.h"

class SurfaceCache {
  public:
    // Vertex ranges [first, end) that changed, in order, not overlapping.
    using Ranges = std::vector<std::pair<size_t, size_t>>;

    // Brings the grids up to date with model at segments[i] a side for patch i (as long as
    // the model's patches) and returns the vertices that changed (nothing when nothing did;
    // all of them when the layout changed). copy is the model's GPU copy: its counts say what
    // changed since.
    const Ranges& update(const Model& model, const GpuModelCopy& copy,
                         const std::vector<uint8_t>& segments);
    // Whether the last update laid the grids out anew (any patch's level or the patches
    // changed): every vertex may have moved, and indices into them are stale.
    bool relaid() const { return relaid_; }

    const std::vector<vm::Float3>& vertices() const { return vertices_; }
    const std::vector<vm::Float3>& normals() const { return normals_; }
    uint32_t firstVertex(size_t patch) const { return first_[patch]; }
    // The segments a side of patch i's grid (0: it has none).
    int segmentsOf(size_t patch) const { return segments_[patch]; }
    // After an update that relaid the grids: whether patch i's grid was evaluated again (the
    // others were copied from where they were before).
    bool evaluatedAgain(size_t patch) const { return fresh_.empty() || fresh_[patch] != 0; }
    // The patches evaluated by the last update.
    size_t evaluated() const { return evaluated_; }
    // The patches that use any of points (sorted, once each), as of the last update.
    void patchesUsing(const std::vector<uint32_t>& points, std::vector<uint32_t>& out) const;

  private:
    void layOut(const Model& model, const std::vector<uint8_t>& segments, bool all);

    const GpuModelCopy* copy_ = nullptr;
    uint64_t topology_ = 0, points_ = 0;
    std::vector<vm::Float3> vertices_, normals_;
    std::vector<uint32_t> first_{0}; // patch i's grid: first_[i] … first_[i + 1]
    std::vector<uint8_t> segments_;  // what each grid was evaluated at
    std::vector<uint8_t> fresh_;     // by patch: evaluated by the last layOut (none: all)
    PointUsers users_;
    std::vector<uint32_t> moved_, dirty_; // points moved since, and the patches using them
    Ranges ranges_;
    bool relaid_ = false;
    size_t evaluated_ = 0;
};
