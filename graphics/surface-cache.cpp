#include "graphics/surface-cache.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/parallel-ranges.h"
#include "graphics/patch-detail.h"

namespace {

// Patch i's grid at n segments a side.
void evaluate(const Model& model, size_t i, int n, vm::Float3* vertices, vm::Float3* normals) {
    bezier::tessellateGrid(bezier::controlPoints(model, model.patches[i]), n, vertices, normals);
}

} // namespace

void SurfaceCache::patchesUsing(const std::vector<uint32_t>& points,
                                std::vector<uint32_t>& out) const {
    out.clear();
    for (uint32_t k : points)
        if (k < users_.points()) out.insert(out.end(), users_.begin(k), users_.end(k));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

// New grids for every patch: those at their old level whose points did not move (not in
// dirty_) are copied, the others evaluated, both cores sharing the work.
void SurfaceCache::layOut(const Model& model, const std::vector<uint8_t>& segments, bool all) {
    const size_t count = model.patches.size();
    std::vector<uint8_t> stale(all ? 0 : count);
    if (!all)
        for (uint32_t i : dirty_)
            stale[i] = 1;
    std::vector<uint32_t> first(count + 1, 0);
    for (size_t i = 0; i < count; ++i)
        first[i + 1] = first[i] + detail::gridVertices(segments[i]);
    std::vector<vm::Float3> vertices(first.back()), normals(first.back());
    fresh_.assign(all ? 0 : count, 0);
    std::atomic<size_t> evaluated{0};
    inParallelRanges(
        count,
        [&](size_t from, size_t to) {
            size_t done = 0;
            for (size_t i = from; i < to; ++i) {
                const uint32_t n = first[i + 1] - first[i];
                if (n == 0) continue;
                if (!all && !stale[i] && segments_[i] == segments[i]) {
                    std::memcpy(&vertices[first[i]], &vertices_[first_[i]], n * sizeof(vm::Float3));
                    std::memcpy(&normals[first[i]], &normals_[first_[i]], n * sizeof(vm::Float3));
                    continue;
                }
                evaluate(model, i, segments[i], &vertices[first[i]], &normals[first[i]]);
                if (!all) fresh_[i] = 1;
                ++done;
            }
            evaluated += done;
        },
        2048);
    vertices_.swap(vertices);
    normals_.swap(normals);
    first_.swap(first);
    segments_ = segments;
    evaluated_ = evaluated;
    relaid_ = true;
    if (!vertices_.empty()) ranges_.push_back({0, vertices_.size()});
}

const SurfaceCache::Ranges& SurfaceCache::update(const Model& model, const GpuModelCopy& copy,
                                                 const std::vector<uint8_t>& segments) {
    relaid_ = false;
    evaluated_ = 0;
    ranges_.clear();
    dirty_.clear();
    const size_t count = model.patches.size();
    if (segments.size() != count) return ranges_;
    const bool sameTopology =
        copy_ == &copy && topology_ == copy.topologyRevision() && segments_.size() == count;
    bool all = !sameTopology;
    if (!sameTopology) {
        users_.build(model);
    } else if (points_ != copy.pointsRevision()) {
        if (!copy.pointsMovedSince(points_, moved_))
            all = true;
        else
            patchesUsing(moved_, dirty_);
    }
    copy_ = &copy;
    topology_ = copy.topologyRevision();
    points_ = copy.pointsRevision();
    if (all || segments != segments_) {
        layOut(model, segments, all);
        return ranges_;
    }
    // The same layout: the stale grids evaluated again in place.
    for (uint32_t i : dirty_) {
        if (segments_[i] == 0) continue;
        evaluate(model, i, segments_[i], &vertices_[first_[i]], &normals_[first_[i]]);
        ++evaluated_;
        if (!ranges_.empty() && ranges_.back().second == first_[i])
            ranges_.back().second = first_[i + 1];
        else
            ranges_.push_back({first_[i], first_[i + 1]});
    }
    return ranges_;
}
