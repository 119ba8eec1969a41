#include "graphics/patch-detail.h"

#include <algorithm>
#include <cmath>

#include "core/parallel-ranges.h"

namespace detail {

int segmentsFor(float extentPixels, float pixelsPerSegment) {
    if (!(extentPixels > pixelsPerSegment)) return 1; // NaN too
    int n = 1;
    while (n < kMaxSegments && static_cast<float>(n) * pixelsPerSegment < extentPixels)
        n *= 2;
    return n;
}

namespace {

// Outside-plane bits of a clip-space point: −w ≤ x, y ≤ w and 0 ≤ z ≤ w.
unsigned outside(const vm::Vec4& c) {
    return (c.x < -c.w ? 1u : 0u) | (c.x > c.w ? 2u : 0u) | (c.y < -c.w ? 4u : 0u) |
           (c.y > c.w ? 8u : 0u) | (c.z < 0 ? 16u : 0u) | (c.z > c.w ? 32u : 0u);
}

// Segments for one copy of a patch; 0 when it is outside the view.
int copySegments(const std::array<vm::Float3, 16>& points, const vm::Mat4& m, float halfWidth,
                 float halfHeight, float pixelsPerSegment) {
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
    if (behind) return kMaxSegments;
    return segmentsFor(std::max(maxX - minX, maxY - minY), pixelsPerSegment);
}

struct ViewOfPatches {
    vm::Mat4 m[2];
    float halfWidth, halfHeight, pixelsPerSegment;
    ViewOfPatches(const vm::Mat4 world[2], const vm::Mat4& viewProjection, int width, int height,
                  float pixels)
        : m{world[0] * viewProjection, world[1] * viewProjection},
          halfWidth(0.5f * static_cast<float>(std::max(width, 1))),
          halfHeight(0.5f * static_cast<float>(std::max(height, 1))), pixelsPerSegment(pixels) {}

    uint8_t segmentsOf(const Model& model, size_t i) const {
        const Model::Patch& patch = model.patches[i];
        if (!model.isShown(patch)) return 0;
        const std::array<vm::Float3, 16> points = bezier::controlPoints(model, patch);
        int n = copySegments(points, m[0], halfWidth, halfHeight, pixelsPerSegment);
        if (model.isSymmetry(patch.group))
            n = std::max(n, copySegments(points, m[1], halfWidth, halfHeight, pixelsPerSegment));
        return static_cast<uint8_t>(n);
    }
};

} // namespace

void patchSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                   int width, int height, std::vector<uint8_t>& segments, float pixelsPerSegment) {
    const ViewOfPatches view(world, viewProjection, width, height, pixelsPerSegment);
    segments.resize(model.patches.size());
    inParallelRanges(model.patches.size(), [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            segments[i] = view.segmentsOf(model, i);
    });
    keepWithin(kVertexBudget, segments);
}

bool updateSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                    int width, int height, const std::vector<uint32_t>& patches,
                    std::vector<uint8_t>& segments, float pixelsPerSegment) {
    const ViewOfPatches view(world, viewProjection, width, height, pixelsPerSegment);
    bool changed = false;
    for (uint32_t i : patches) {
        if (i >= segments.size() || i >= model.patches.size()) continue;
        const uint8_t n = view.segmentsOf(model, i);
        changed = changed || n != segments[i];
        segments[i] = n;
    }
    if (changed) keepWithin(kVertexBudget, segments);
    return changed;
}

void keepWithin(size_t budget, std::vector<uint8_t>& segments) {
    // Patches at each level, then the finest level whose total fits.
    std::array<size_t, kMaxSegments + 1> atLevel{};
    for (uint8_t n : segments)
        ++atLevel[std::min<size_t>(n, kMaxSegments)];
    int cap = kMaxSegments;
    auto total = [&](int c) {
        size_t sum = 0;
        for (int n = 1; n <= kMaxSegments; ++n)
            sum += atLevel[static_cast<size_t>(n)] * gridVertices(std::min(n, c));
        return sum;
    };
    while (cap > 1 && total(cap) > budget)
        cap /= 2;
    if (cap == kMaxSegments) return;
    for (uint8_t& n : segments)
        n = static_cast<uint8_t>(std::min<int>(n, cap));
}

const std::vector<uint32_t>& triangleIndices(int segments) {
    static const auto levels = [] {
        std::array<std::vector<uint32_t>, kMaxSegments + 1> all;
        for (uint32_t n = 1; n <= kMaxSegments; ++n)
            for (uint32_t j = 0; j < n; ++j)
                for (uint32_t i = 0; i < n; ++i) {
                    const uint32_t v00 = j * (n + 1) + i, v10 = v00 + 1;
                    const uint32_t v01 = v00 + n + 1, v11 = v01 + 1;
                    for (uint32_t v : {v00, v10, v11, v00, v11, v01})
                        all[n].push_back(v);
                }
        return all;
    }();
    return levels[static_cast<size_t>(std::clamp(segments, 0, kMaxSegments))];
}

} // namespace detail
