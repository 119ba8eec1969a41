#include "graphics/surface-cache.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/parallel-ranges.h"
#include "graphics/patch-detail.h"

void SurfaceCache::evaluate(const Model& model, size_t patch, vm::Float3* vertices,
                            vm::Float3* normals) {
    bezier::tessellateGrid(bezier::controlPoints(model, model.patches[patch]), segments_[patch],
                           vertices, normals);
}

void SurfaceCache::buildUsers(const Model& model) {
    usersStart_.assign(model.points.size() + 1, 0);
    for (const Model::Patch& patch : model.patches)
        for (int32_t k : patch.indices)
            ++usersStart_[static_cast<size_t>(k) + 1];
    for (size_t k = 1; k < usersStart_.size(); ++k)
        usersStart_[k] += usersStart_[k - 1];
    users_.resize(usersStart_.back());
    std::vector<uint32_t> fill(usersStart_.begin(), usersStart_.end() - 1);
    for (size_t i = 0; i < model.patches.size(); ++i)
        for (int32_t k : model.patches[i].indices)
            users_[fill[static_cast<size_t>(k)]++] = static_cast<uint32_t>(i);
}

void SurfaceCache::patchesUsing(const std::vector<uint32_t>& points,
                                std::vector<uint32_t>& out) const {
    out.clear();
    for (uint32_t k : points)
        if (k + 1 < usersStart_.size())
            out.insert(out.end(), users_.begin() + usersStart_[k],
                       users_.begin() + usersStart_[k + 1]);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

// New grids for every patch: those at their old level and not stale are copied, the others
// evaluated, both cores sharing the work.
void SurfaceCache::layOut(const Model& model, const std::vector<uint8_t>& segments, bool all) {
    const size_t count = model.patches.size();
    std::vector<uint32_t> first(count + 1, 0);
    for (size_t i = 0; i < count; ++i)
        first[i + 1] = first[i] + detail::gridVertices(segments[i]);
    std::vector<vm::Float3> vertices(first.back()), normals(first.back());
    std::atomic<size_t> evaluated{0};
    inParallelRanges(
        count,
        [&](size_t from, size_t to) {
            size_t done = 0;
            for (size_t i = from; i < to; ++i) {
                const uint32_t n = first[i + 1] - first[i];
                if (n == 0) continue;
                if (!all && !stale_[i] && segments_[i] == segments[i]) {
                    std::memcpy(&vertices[first[i]], &vertices_[first_[i]], n * sizeof(vm::Float3));
                    std::memcpy(&normals[first[i]], &normals_[first_[i]], n * sizeof(vm::Float3));
                    continue;
                }
                bezier::tessellateGrid(bezier::controlPoints(model, model.patches[i]), segments[i],
                                       &vertices[first[i]], &normals[first[i]]);
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

const SurfaceCache::Ranges& SurfaceCache::update(const Model& model,
                                                 const std::vector<uint8_t>& segments) {
    relaid_ = false;
    evaluated_ = 0;
    ranges_.clear();
    dirty_.clear();
    const size_t count = model.patches.size();
    if (segments.size() != count) return ranges_;
    const bool sameTopology =
        model_ == &model && topology_ == model.topologyRevision && segments_.size() == count;
    bool all = !sameTopology;
    if (!sameTopology) {
        buildUsers(model);
        stale_.assign(count, 0);
    } else if (points_ != model.pointsRevision) {
        if (!model.pointsMovedSince(points_, moved_)) {
            all = true;
        } else {
            patchesUsing(moved_, dirty_);
            for (uint32_t i : dirty_)
                stale_[i] = 1;
        }
    }
    model_ = &model;
    topology_ = model.topologyRevision;
    points_ = model.pointsRevision;
    if (all || segments != segments_) {
        layOut(model, segments, all);
        std::fill(stale_.begin(), stale_.end(), 0);
        return ranges_;
    }
    // The same layout: the stale grids evaluated again in place.
    for (uint32_t i : dirty_) {
        stale_[i] = 0;
        if (segments_[i] == 0) continue;
        evaluate(model, i, &vertices_[first_[i]], &normals_[first_[i]]);
        ++evaluated_;
        if (!ranges_.empty() && ranges_.back().second == first_[i])
            ranges_.back().second = first_[i + 1];
        else
            ranges_.push_back({first_[i], first_[i + 1]});
    }
    return ranges_;
}
