#include "model/model.h"

#include <algorithm>

void Model::clear() {
    groups.clear();
    points.clear();
    patches.clear();
    releaseBuffers();
}

namespace {
// Moves remembered for derived copies; a longer run of moves is followed as a whole.
constexpr size_t kRememberedMoves = size_t{1} << 16;
} // namespace

void Model::forgetMoves() {
    ++pointsRevision;
    moves_.clear();
    movesFrom_ = pointsRevision;
}

void Model::releaseBuffers() {
    ++revision;
    ++topologyRevision;
    forgetMoves();
    vertexBuffer.reset();
    patchIndices.reset();
}

void Model::buildBuffers() {
    ++revision;
    ++topologyRevision;
    forgetMoves();
    if (!gpu || points.empty()) return;
    vertexBuffer = gpu->createVertexBuffer(points.data(), points.size());
    if (patches.empty()) return;
    // One buffer for every patch (a buffer each made a delete on a model of ten thousand
    // patches wait for twenty thousand buffers).
    std::vector<int32_t> indices;
    indices.reserve(patches.size() * 16);
    for (const Patch& patch : patches)
        indices.insert(indices.end(), patch.indices.begin(), patch.indices.end());
    patchIndices = gpu->createIndexBuffer(indices.data(), indices.size());
}

void Model::updatePointBuffer() {
    ++revision;
    forgetMoves();
    if (gpu && vertexBuffer) gpu->updateVertexBuffer(*vertexBuffer, points.data(), points.size());
}

void Model::updatePoints(const std::vector<uint32_t>& moved) {
    ++revision;
    ++pointsRevision;
    if (moves_.size() + moved.size() > kRememberedMoves) {
        moves_.clear();
        movesFrom_ = pointsRevision;
    } else {
        for (uint32_t index : moved)
            moves_.push_back({pointsRevision, index});
    }
    if (!gpu || !vertexBuffer || moved.empty()) return;
    // Only the stretch of the pool between the first and the last moved point goes up.
    const auto [low, high] = std::minmax_element(moved.begin(), moved.end());
    if (*high < points.size())
        gpu->updateVertexRange(*vertexBuffer, points.data(), *low, *high - *low + 1);
    else
        gpu->updateVertexBuffer(*vertexBuffer, points.data(), points.size());
}

bool Model::pointsMovedSince(uint64_t since, std::vector<uint32_t>& out) const {
    out.clear();
    if (since < movesFrom_) return false;
    for (auto it = moves_.rbegin(); it != moves_.rend() && it->revision > since; ++it)
        out.push_back(it->index);
    return true;
}

bool Model::isSymmetry(int groupIndex) const {
    if (groupIndex < 0 || static_cast<size_t>(groupIndex) >= groups.size()) return false;
    return dynamic_cast<const Symmetry*>(groups[static_cast<size_t>(groupIndex)].get()) != nullptr;
}

bool Model::isShown(const Patch& patch) const {
    if (!patch.visible) return false;
    return patch.group < 0 || groups[static_cast<size_t>(patch.group)]->visible;
}

bool Model::indicesValid() const {
    const int64_t count = static_cast<int64_t>(points.size());
    for (const Patch& patch : patches) {
        for (int32_t index : patch.indices)
            if (index < 0 || index >= count) return false;
        if (patch.group < -1 || patch.group >= static_cast<int64_t>(groups.size())) return false;
    }
    return true;
}

std::array<int32_t, 36> controlNetIndices(const Model::Patch& patch) {
    auto at = [&](int r, int c) { return patch.indices[static_cast<size_t>(4 * r + c)]; };
    std::array<int32_t, 36> net{};
    size_t n = 0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            net[n++] = at(r, c + 1);
            net[n++] = at(r + 1, c + 1);
            net[n++] = at(r + 1, c);
            net[n++] = at(r + 1, c + 1);
        }
    return net;
}

namespace {
template <typename Taken> std::string firstUnused(const std::string& prefix, Taken taken) {
    for (size_t n = 0;; ++n) {
        std::string name = prefix + std::to_string(n);
        if (!taken(name)) return name;
    }
}
} // namespace

std::string firstUnusedGroupName(const Model& model, const std::string& prefix) {
    return firstUnused(prefix, [&](const std::string& name) {
        for (const auto& group : model.groups)
            if (group->name == name) return true;
        return false;
    });
}

std::string firstUnusedLocatorName(const Model& model) {
    return firstUnused("Locator_", [&](const std::string& name) {
        for (const Model::Locator& locator : model.locators)
            if (locator.name == name) return true;
        return false;
    });
}
