// The CPU path's triangles: patch i's index its own grid in the surface cache. They lie in
// the cache's blocks: a block's opaque patches first, each after the previous one, then its
// translucent ones, then room to spare. A run of patches in one state within a block is one
// draw, and a block the cache laid out anew rewrites its own triangles alone.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/surface-cache.h"
#include "model/model.h"

class PatchTriangles {
  public:
    using Ranges = SurfaceCache::Ranges;

    // Follows the cache's last update; all: the patches changed too, every block anew.
    // Returns the stretches of indices() that changed (all of it when it was laid anew).
    const Ranges& follow(const Model& model, const SurfaceCache& cache, bool all);
    // Whether the last follow laid every block anew (the list may have changed length).
    bool laidAnew() const { return laidAnew_; }

    const std::vector<uint32_t>& indices() const { return indices_; }
    // Patch i's triangles: indices()[first(i)] up to end(i).
    uint32_t first(size_t patch) const { return first_[patch]; }
    uint32_t end(size_t patch) const { return end_[patch]; }

  private:
    // Block b's triangles from start on in out (appended), first_ and end_ set for its patches.
    void writeBlock(const Model& model, const SurfaceCache& cache, size_t b, uint32_t start,
                    std::vector<uint32_t>& out);
    void layOutAll(const Model& model, const SurfaceCache& cache);

    std::vector<uint32_t> indices_;
    std::vector<uint32_t> first_, end_;
    std::vector<uint32_t> blockEnd_; // block b's room ends here (the next one's start)
    std::vector<uint32_t> scratch_;
    Ranges ranges_;
    bool laidAnew_ = false;
};
