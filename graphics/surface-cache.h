// The CPU path's evaluated surfaces: each patch's grid of surface points and normals at the
// segments its size on the screen asks, kept between frames. Only what changed level, or
// uses points that moved, is evaluated again; the topology changing evaluates everything.
// A patch's grid lies at firstVertex(i), detail::gridVertices of its grid. The grids
// lie in blocks of patches, each with room to spare after it: a few patches changing level
// (an orbit, a drag) lay out their blocks alone, and the rest stays where it is on the device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/vector-math.h"
#include "graphics/gpu-model-copy.h"
#include "graphics/patch-grid.h"
#include "model/bezier-surface.h"
#include "model/model.h"
#include "model/point-users.h"

class SurfaceCache {
  public:
    // Vertex ranges [first, end) that changed, in order, not overlapping.
    using Ranges = std::vector<std::pair<size_t, size_t>>;

    // Brings the grids up to date with model at grids[i] for patch i (as long as the model's
    // patches) and returns the vertices that changed (nothing when nothing did;
    // all of them when the layout changed). copy is the model's GPU copy: its counts say what
    // changed since.
    const Ranges& update(const Model& model, const GpuModelCopy& copy,
                         const std::vector<detail::Grid>& grids);
    // Whether the last update laid grids out anew (any patch's level or the patches
    // changed): indices into them are stale, in every block or in the blocks listed.
    bool relaid() const { return relaid_; }
    bool relaidAll() const { return relaidAll_; }
    // The blocks the last update laid out anew (when not all), in order.
    const std::vector<uint32_t>& relaidBlocks() const { return relaidBlocks_; }
    // The patches of block b: [blockFirst(b), blockFirst(b + 1)).
    size_t blocks() const { return blockFirst_.empty() ? 0 : blockFirst_.size() - 1; }
    uint32_t blockFirst(size_t b) const { return blockFirst_[b]; }

    const std::vector<vm::Float3>& vertices() const { return vertices_; }
    const std::vector<vm::Float3>& normals() const { return normals_; }
    uint32_t firstVertex(size_t patch) const { return first_[patch]; }
    // Patch i's grid (detail::kNoGrid: it has none).
    detail::Grid gridOf(size_t patch) const { return grids_[patch]; }
    // After an update that relaid the grids: whether patch i's grid was evaluated again (the
    // others were copied from where they were before).
    bool evaluatedAgain(size_t patch) const { return fresh_.empty() || fresh_[patch] != 0; }
    // The patches evaluated by the last update.
    size_t evaluated() const { return evaluated_; }
    // The patches that use any of points (sorted, once each), as of the last update.
    void patchesUsing(const std::vector<uint32_t>& points, std::vector<uint32_t>& out) const;

  private:
    void layOut(const Model& model, const std::vector<detail::Grid>& grids, bool all);
    // Lays out again the blocks whose patches changed level, each within its room; false
    // (nothing done) when one has no room or too many changed.
    bool layOutBlocks(const Model& model, const std::vector<detail::Grid>& grids,
                      std::vector<uint8_t>& stale);
    void addRange(size_t first, size_t end);

    const GpuModelCopy* copy_ = nullptr;
    uint64_t topology_ = 0, points_ = 0;
    std::vector<vm::Float3> vertices_, normals_;
    std::vector<uint32_t> first_{0};   // patch i's grid from first_[i], rising with i
    std::vector<uint32_t> blockFirst_; // patches of block b: blockFirst_[b] … blockFirst_[b + 1]
    std::vector<uint32_t> blockEnd_;   // each block's room ends here (the next one's start)
    std::vector<uint32_t> relaidBlocks_;
    std::vector<detail::Grid> grids_; // what each grid was evaluated at
    std::vector<uint8_t> fresh_;      // by patch: evaluated by the last layOut (none: all)
    // Room for the next layout, kept between updates (its contents mean nothing).
    struct {
        std::vector<vm::Float3> vertices, normals;
        std::vector<uint32_t> first;
    } spare_;
    PointUsers users_;
    std::vector<uint32_t> moved_, dirty_; // points moved since, and the patches using them
    Ranges ranges_;
    bool relaid_ = false, relaidAll_ = false;
    size_t evaluated_ = 0;
};
