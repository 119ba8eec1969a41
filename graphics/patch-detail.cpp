#include "graphics/patch-detail.h"

#include <algorithm>
#include <cmath>

namespace detail {

int segmentsFor(float extentPixels) {
    if (!(extentPixels > 0)) return 1;
    const float n = std::ceil(extentPixels / kPixelsPerSegment);
    return n >= bezier::kFactor ? bezier::kFactor : std::max(1, static_cast<int>(n));
}

namespace {

// Outside-plane bits of a clip-space point: −w ≤ x, y ≤ w and 0 ≤ z ≤ w.
unsigned outside(const vm::Vec4& c) {
    return (c.x < -c.w ? 1u : 0u) | (c.x > c.w ? 2u : 0u) | (c.y < -c.w ? 4u : 0u) |
           (c.y > c.w ? 8u : 0u) | (c.z < 0 ? 16u : 0u) | (c.z > c.w ? 32u : 0u);
}

// Segments for one copy of a patch; 0 when it is outside the view.
int copySegments(const std::array<vm::Float3, 16>& points, const vm::Mat4& m, float halfWidth,
                 float halfHeight) {
    unsigned all = ~0u;
    bool behind = false, inFront = false;
    float minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    for (const vm::Float3& p : points) {
        const vm::Vec4 c = vm::transform({p.x, p.y, p.z, 1}, m);
        all &= outside(c);
        if (!(c.w > 0)) {
            behind = true; // a point at or behind the eye: its size on the screen is unbounded
            continue;
        }
        inFront = true;
        const float x = c.x / c.w * halfWidth, y = c.y / c.w * halfHeight;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    if (all || !inFront) return 0; // every point beyond one and the same plane, or behind
    if (behind) return bezier::kFactor;
    return segmentsFor(std::max(maxX - minX, maxY - minY));
}

} // namespace

namespace {

struct ViewOfPatches {
    vm::Mat4 m[2];
    float halfWidth, halfHeight;
    ViewOfPatches(const vm::Mat4 world[2], const vm::Mat4& viewProjection, int width, int height)
        : m{world[0] * viewProjection, world[1] * viewProjection},
          halfWidth(0.5f * static_cast<float>(std::max(width, 1))),
          halfHeight(0.5f * static_cast<float>(std::max(height, 1))) {}

    uint8_t segmentsOf(const Model& model, size_t i) const {
        const Model::Patch& patch = model.patches[i];
        if (!model.isShown(patch)) return 0;
        const std::array<vm::Float3, 16> points = bezier::controlPoints(model, patch);
        int n = copySegments(points, m[0], halfWidth, halfHeight);
        if (model.isSymmetry(patch.group))
            n = std::max(n, copySegments(points, m[1], halfWidth, halfHeight));
        return static_cast<uint8_t>(n);
    }
};

} // namespace

void patchSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                   int width, int height, std::vector<uint8_t>& segments) {
    const ViewOfPatches view(world, viewProjection, width, height);
    segments.resize(model.patches.size());
    for (size_t i = 0; i < model.patches.size(); ++i)
        segments[i] = view.segmentsOf(model, i);
}

bool updateSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                    int width, int height, const std::vector<uint32_t>& patches,
                    std::vector<uint8_t>& segments) {
    const ViewOfPatches view(world, viewProjection, width, height);
    bool changed = false;
    for (uint32_t i : patches) {
        if (i >= segments.size() || i >= model.patches.size()) continue;
        const uint8_t n = view.segmentsOf(model, i);
        changed = changed || n != segments[i];
        segments[i] = n;
    }
    return changed;
}

const std::vector<uint32_t>& triangleIndices(int segments) {
    static const auto levels = [] {
        std::array<std::vector<uint32_t>, bezier::kFactor + 1> all;
        for (int n = 1; n <= bezier::kFactor; ++n) {
            // Grid lines nearest to k/n of the way across.
            std::vector<uint32_t> lines;
            for (int k = 0; k <= n; ++k)
                lines.push_back(static_cast<uint32_t>(
                    std::lround(static_cast<double>(k) * bezier::kFactor / n)));
            constexpr uint32_t kRow = bezier::kFactor + 1;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const uint32_t v00 = lines[j] * kRow + lines[i],
                                   v10 = lines[j] * kRow + lines[i + 1];
                    const uint32_t v01 = lines[j + 1] * kRow + lines[i],
                                   v11 = lines[j + 1] * kRow + lines[i + 1];
                    for (uint32_t v : {v00, v10, v11, v00, v11, v01})
                        all[n].push_back(v);
                }
        }
        return all;
    }();
    return levels[static_cast<size_t>(std::clamp(segments, 0, bezier::kFactor))];
}

} // namespace detail
