#include "graphics/curvature-grids.h"

#include "graphics/patch-detail.h"

#include <algorithm>

#include "core/parallel-ranges.h"
#include "model/bezier-surface.h"
#include "model/surface-curvature.h"

namespace {

// Grids are worked out on both cores from this many patches on.
constexpr size_t kParallelPatches = 1024;

// The cubic Bernstein weights at t and their first and second derivatives.
struct Weights {
    double b[4], d1[4], d2[4];
};
Weights weightsAt(double t) {
    const double s = 1 - t;
    return {{s * s * s, 3 * t * s * s, 3 * t * t * s, t * t * t},
            {-3 * s * s, 3 * s * s - 6 * t * s, 6 * t * s - 3 * t * t, 3 * t * t},
            {6 * s, 18 * t - 12, 6 - 18 * t, 6 * t}};
}

bezier::Vec3d blend(const bezier::Vec3d rows[4], const double w[4]) {
    bezier::Vec3d sum;
    for (int r = 0; r < 4; ++r) {
        sum.x += w[r] * rows[r].x;
        sum.y += w[r] * rows[r].y;
        sum.z += w[r] * rows[r].z;
    }
    return sum;
}

} // namespace

void curvatureGrid(const std::array<vm::Float3, 16>& p, int across, int down,
                   CurvatureGrids::Values* out) {
    const int side = across + 1;
    // The weights along v, the same for every column.
    std::vector<Weights> along(static_cast<size_t>(down + 1));
    for (int j = 0; j <= down; ++j)
        along[static_cast<size_t>(j)] = weightsAt(static_cast<double>(j) / down);
    for (int i = 0; i < side; ++i) {
        // The four rows blended along u (points, slopes and bends), then across them along v.
        const Weights wu = weightsAt(static_cast<double>(i) / across);
        bezier::Vec3d row[4], slope[4], bend[4];
        for (size_t r = 0; r < 4; ++r)
            for (size_t c = 0; c < 4; ++c) {
                const vm::Float3& q = p[4 * r + c];
                row[r].x += wu.b[c] * q.x, row[r].y += wu.b[c] * q.y, row[r].z += wu.b[c] * q.z;
                slope[r].x += wu.d1[c] * q.x, slope[r].y += wu.d1[c] * q.y;
                slope[r].z += wu.d1[c] * q.z;
                bend[r].x += wu.d2[c] * q.x, bend[r].y += wu.d2[c] * q.y;
                bend[r].z += wu.d2[c] * q.z;
            }
        for (int j = 0; j <= down; ++j) {
            const Weights& wv = along[static_cast<size_t>(j)];
            bezier::SurfaceDerivatives d;
            d.du = blend(slope, wv.b);
            d.dv = blend(row, wv.d1);
            d.duu = blend(bend, wv.b);
            d.duv = blend(slope, wv.d1);
            d.dvv = blend(row, wv.d2);
            const bezier::Curvature c = bezier::curvatureAt(d);
            out[j * side + i] = c.defined ? CurvatureGrids::Values{static_cast<float>(c.gaussian),
                                                                   static_cast<float>(c.mean)}
                                          : CurvatureGrids::Values{0, 0};
        }
    }
}

void CurvatureGrids::workOut(const Model& model, const SurfaceCache& cache,
                             const std::vector<uint32_t>& patches) {
    inParallelRanges(
        patches.size(),
        [&](size_t from, size_t to) {
            for (size_t k = from; k < to; ++k) {
                const uint32_t i = patches[k];
                const detail::Grid grid = cache.gridOf(i);
                curvatureGrid(bezier::controlPoints(model, model.patches[i]), detail::across(grid),
                              detail::down(grid), &values_[cache.firstVertex(i)]);
            }
        },
        kParallelPatches);
}

void CurvatureGrids::relay(const Model& model, const SurfaceCache& cache) {
    const size_t count = model.patches.size();
    std::vector<Values> values(cache.vertices().size());
    std::vector<uint32_t> again;
    const bool before = !stale_ && first_.size() == count + 1 && grids_.size() == count;
    for (size_t i = 0; i < count; ++i) {
        const detail::Grid grid = cache.gridOf(i);
        if (grid == detail::kNoGrid) continue;
        if (before && !cache.evaluatedAgain(i) && grids_[i] == grid)
            std::copy_n(values_.begin() + first_[i], detail::gridVertices(grid),
                        values.begin() + cache.firstVertex(i));
        else
            again.push_back(static_cast<uint32_t>(i));
    }
    values_.swap(values);
    workOut(model, cache, again);
}

const SurfaceCache::Ranges& CurvatureGrids::follow(const Model& model, const SurfaceCache& cache,
                                                   const SurfaceCache::Ranges& changed,
                                                   bool shown) {
    ranges_.clear();
    const size_t count = model.patches.size(), vertices = cache.vertices().size();
    if (!shown) {
        stale_ = stale_ || !changed.empty() || values_.size() != vertices;
        return ranges_;
    }
    // The cache says it relaid its grids until its next update: only an update that changed
    // vertices is this one's. Blocks laid out anew alone are followed as grids evaluated again.
    if (stale_ || values_.size() != vertices || (cache.relaidAll() && !changed.empty())) {
        // Laid out anew (or not followed while hidden): every grid, copied where it can be.
        relay(model, cache);
        if (vertices > 0) ranges_.push_back({0, vertices});
        first_.resize(count + 1);
        grids_.resize(count);
        for (size_t i = 0; i <= count; ++i)
            first_[i] = cache.firstVertex(i);
        for (size_t i = 0; i < count; ++i)
            grids_[i] = cache.gridOf(i);
    } else {
        // The same layout: the grids the cache evaluated again, in place.
        std::vector<uint32_t> patches;
        for (const auto& [first, end] : changed) {
            size_t lo = 0, hi = count; // the first patch whose grid ends after first
            while (lo < hi) {
                const size_t mid = (lo + hi) / 2;
                if (cache.firstVertex(mid + 1) <= first)
                    lo = mid + 1;
                else
                    hi = mid;
            }
            for (size_t i = lo; i < count && cache.firstVertex(i) < end; ++i)
                if (cache.gridOf(i) != detail::kNoGrid) patches.push_back(static_cast<uint32_t>(i));
        }
        workOut(model, cache, patches);
        ranges_ = changed;
        // Blocks laid out anew lie within what changed: their grids were worked out above,
        // and where they lie now is where a later relay finds them.
        for (uint32_t b : cache.relaid() ? cache.relaidBlocks() : std::vector<uint32_t>{})
            for (uint32_t i = cache.blockFirst(b); i < cache.blockFirst(b + 1); ++i) {
                first_[i] = cache.firstVertex(i);
                grids_[i] = cache.gridOf(i);
            }
    }
    stale_ = false;
    return ranges_;
}
