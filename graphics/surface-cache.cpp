#include "graphics/surface-cache.h"

#include <algorithm>

void SurfaceCache::evaluate(const Model& model, size_t patch) {
    const auto points = bezier::controlPoints(model, model.patches[patch]);
    bezier::tessellate(points, vertices_.data() + patch * bezier::kGridVertices);
    bezier::tessellateNormals(points, normals_.data() + patch * bezier::kGridVertices);
    ++evaluated_;
}

void SurfaceCache::evaluateAll(const Model& model) {
    for (size_t i = 0; i < model.patches.size(); ++i)
        evaluate(model, i);
    ranges_.clear();
    if (!model.patches.empty()) ranges_.push_back({0, model.patches.size()});
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

const SurfaceCache::Ranges& SurfaceCache::update(const Model& model) {
    resized_ = false;
    evaluated_ = 0;
    ranges_.clear();
    const bool sameTopology = model_ == &model && topology_ == model.topologyRevision;
    if (sameTopology && points_ == model.pointsRevision) return ranges_;
    if (!sameTopology) {
        const size_t size = model.patches.size() * bezier::kGridVertices;
        resized_ = size != vertices_.size();
        vertices_.resize(size);
        normals_.resize(size);
        buildUsers(model);
        evaluateAll(model);
    } else if (!model.pointsMovedSince(points_, moved_)) {
        evaluateAll(model);
    } else {
        patchesUsing(moved_, dirty_);
        for (uint32_t i : dirty_) {
            evaluate(model, i);
            if (!ranges_.empty() && ranges_.back().second == i)
                ranges_.back().second = i + 1;
            else
                ranges_.push_back({i, i + 1});
        }
    }
    model_ = &model;
    topology_ = model.topologyRevision;
    points_ = model.pointsRevision;
    return ranges_;
}
