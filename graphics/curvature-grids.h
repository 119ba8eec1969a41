// The curvature display on the CPU path: the Gaussian and mean curvature at every vertex of
// the surface cache's grids, from the patch's exact derivatives. Worked out only while the
// display shows, following the grids the cache evaluates again; grids that changed while it
// was off are worked out again when it comes back.
#pragma once

#include <array>
#include <vector>

#include "graphics/surface-cache.h"
#include "model/model.h"

class CurvatureGrids {
  public:
    // Per vertex, as the cache lays them out: Gaussian, mean (0 where undefined, at a pole).
    using Values = std::array<float, 2>;

    // After the cache's update that changed the vertex ranges `changed`: while shown, the
    // curvatures of those (of all, when stale) are worked out again and the ranges that
    // changed returned; while not, nothing is and the curvatures become stale if any changed.
    const SurfaceCache::Ranges& follow(const Model& model, const SurfaceCache& cache,
                                       const SurfaceCache::Ranges& changed, bool shown);
    const std::vector<Values>& values() const { return values_; }

  private:
    // A relaid cache: grids it copied keep their values (from where they were), the others
    // are worked out again.
    void relay(const Model& model, const SurfaceCache& cache);
    void workOut(const Model& model, const SurfaceCache& cache,
                 const std::vector<uint32_t>& patches);

    std::vector<Values> values_;
    std::vector<uint32_t> first_; // each patch's grid as the values lie: first_[i] …
    std::vector<detail::Grid> grids_;
    SurfaceCache::Ranges ranges_;
    bool stale_ = true;
};

// The curvatures at the (across + 1) × (down + 1) grid's vertices, stored as tessellateGrid
// stores its vertices.
void curvatureGrid(const std::array<vm::Float3, 16>& controlPoints, int across, int down,
                   CurvatureGrids::Values* out);
