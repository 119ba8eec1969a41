#include "graphics/patch-detail.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

constexpr size_t kCorners[4] = {0, 3, 12, 15};

float distance(const vm::Float3& a, const vm::Float3& b) {
    const float x = a.x - b.x, y = a.y - b.y, z = a.z - b.z;
    return std::sqrt(x * x + y * y + z * z);
}

// The fewest segments (a power of two, at most n) whose grid strays from the patch by at most
// kFlatPixels on the screen. The patch less the bilinear patch of its corners is a Bezier
// patch whose control points are the net's distances from that bilinear patch, so the largest
// of them (with the bilinear patch's twist, which two triangles leave out) bounds how far one
// quad strays; halving the segments divides it by four. screen holds the points' places in
// pixels; the scale from the net to the screen is the largest of the four sides' (a side seen
// end-on has none).
int flatSegments(const std::array<vm::Float3, 16>& net, const std::array<vm::Float3, 16>& screen,
                 int n) {
    float scale = 0;
    for (const auto& [a, b] : {std::pair<size_t, size_t>{0, 3}, {12, 15}, {0, 12}, {3, 15}}) {
        const float length = distance(net[a], net[b]);
        if (length > 0) scale = std::max(scale, distance(screen[a], screen[b]) / length);
    }
    if (!(scale > 0)) return n;
    float stray = 0;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const float u = static_cast<float>(c) / 3, v = static_cast<float>(r) / 3;
            const float w[4] = {(1 - u) * (1 - v), u * (1 - v), (1 - u) * v, u * v};
            vm::Float3 b{0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                const vm::Float3& q = net[kCorners[k]];
                b = {b.x + w[k] * q.x, b.y + w[k] * q.y, b.z + w[k] * q.z};
            }
            stray = std::max(stray, distance(net[static_cast<size_t>(4 * r + c)], b));
        }
    const vm::Float3 twist = {net[0].x - net[3].x - net[12].x + net[15].x,
                              net[0].y - net[3].y - net[12].y + net[15].y,
                              net[0].z - net[3].z - net[12].z + net[15].z};
    stray = (stray + 0.25f * distance(twist, {0, 0, 0})) * scale;
    int flat = 1;
    while (flat < n && stray > kFlatPixels * static_cast<float>(flat * flat))
        flat *= 2;
    return flat;
}

// Segments for one copy of a patch; 0 when it is outside the view.
int copySegments(const std::array<vm::Float3, 16>& points, const vm::Mat4& m, float halfWidth,
                 float halfHeight, float pixelsPerSegment) {
    unsigned all = ~0u;
    bool behind = false, inFront = false;
    float minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    std::array<vm::Float3, 16> screen;
    for (size_t i = 0; i < points.size(); ++i) {
        const vm::Float3& p = points[i];
        const vm::Vec4 c = vm::transform({p.x, p.y, p.z, 1}, m);
        all &= outside(c);
        if (!(c.w > 0)) {
            behind = true; // a point at or behind the eye: its size on the screen is unbounded
            continue;
        }
        inFront = true;
        const float x = c.x / c.w * halfWidth, y = c.y / c.w * halfHeight;
        screen[i] = {x, y, 0};
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    if (all || !inFront) return 0; // every point beyond one and the same plane, or behind
    if (behind) return kMaxSegments;
    const int n = segmentsFor(std::max(maxX - minX, maxY - minY), pixelsPerSegment);
    // The wireframe display shows the segments themselves: its levels stay as they are.
    if (n == 1 || n > kFlatTestSegments || pixelsPerSegment > kPixelsPerSegment) return n;
    return flatSegments(points, screen, n);
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
