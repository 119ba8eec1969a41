#include "graphics/gpu-model-copy.h"

#include <algorithm>

namespace {
// Moves remembered for derived copies; a longer run of moves is followed as a whole.
constexpr size_t kRememberedMoves = size_t{1} << 16;
} // namespace

void GpuModelCopy::forgetMoves() {
    ++pointsRevision_;
    moves_.clear();
    movesFrom_ = pointsRevision_;
}

void GpuModelCopy::release() {
    ++revision_;
    ++topologyRevision_;
    forgetMoves();
    vertexBuffer_.reset();
    patchIndices_.reset();
}

void GpuModelCopy::rebuild(const Model& model) {
    release();
    if (!gpu_ || model.points.empty()) return;
    vertexBuffer_ = gpu_->createVertexBuffer(model.points.data(), model.points.size());
    if (model.patches.empty()) return;
    // One buffer for every patch (a buffer each made a delete on a model of ten thousand
    // patches wait for twenty thousand buffers).
    std::vector<int32_t> indices;
    indices.reserve(model.patches.size() * 16);
    for (const Model::Patch& patch : model.patches)
        indices.insert(indices.end(), patch.indices.begin(), patch.indices.end());
    patchIndices_ = gpu_->createIndexBuffer(indices.data(), indices.size());
}

void GpuModelCopy::allPointsMoved(const Model& model) {
    ++revision_;
    forgetMoves();
    if (gpu_ && vertexBuffer_)
        gpu_->updateVertexBuffer(*vertexBuffer_, model.points.data(), model.points.size());
}

void GpuModelCopy::pointsMoved(const Model& model, const std::vector<uint32_t>& moved) {
    ++revision_;
    ++pointsRevision_;
    if (moves_.size() + moved.size() > kRememberedMoves) {
        moves_.clear();
        movesFrom_ = pointsRevision_;
    } else {
        for (uint32_t index : moved)
            moves_.push_back({pointsRevision_, index});
    }
    if (!gpu_ || !vertexBuffer_ || moved.empty()) return;
    const auto [low, high] = std::minmax_element(moved.begin(), moved.end());
    if (*high < model.points.size())
        gpu_->updateVertexRange(*vertexBuffer_, model.points.data(), *low, *high - *low + 1);
    else
        gpu_->updateVertexBuffer(*vertexBuffer_, model.points.data(), model.points.size());
}

bool GpuModelCopy::pointsMovedSince(uint64_t since, std::vector<uint32_t>& out) const {
    out.clear();
    if (since < movesFrom_) return false;
    for (auto it = moves_.rbegin(); it != moves_.rend() && it->revision > since; ++it)
        out.push_back(it->index);
    return true;
}
