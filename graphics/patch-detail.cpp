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

float dot(const vm::Float3& a, const vm::Float3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
float length(const vm::Float3& v) {
    return std::sqrt(dot(v, v));
}
float distance(const vm::Float3& a, const vm::Float3& b) {
    return length({a.x - b.x, a.y - b.y, a.z - b.z});
}

// How far a patch's grid of across × down segments strays from the patch on the screen, at
// most: a bound on the distance in the model times the most the view stretches a distance
// anywhere within the net. The triangles of a grid cell stray from the patch by at most
// (Muu/a² + 2 Muv/(a·d) + Mvv/d²) / 8, where the second derivatives are at most 6 and 9 times
// the net's largest second differences and twists: a bound that tells the two directions
// apart, for a patch bent one way. For one quad the patch less the bilinear patch of its
// corners is a Bezier patch whose control points are the net's distances from that bilinear
// patch, so the largest of them, with the bilinear patch's twist (which two triangles leave
// out), bounds how far it strays too; the smaller of the two is taken.
class FlatnessBound {
  public:
    // scale: pixels a unit of the model at most, within the net.
    FlatnessBound(const std::array<vm::Float3, 16>& net, float scale) : net_(net), scale_(scale) {
        if (!known()) return;
        auto at = [&](int r, int c) { return net[static_cast<size_t>(4 * r + c)]; };
        float alongU = 0, alongV = 0, twist = 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 2; ++c) {
                alongU = std::max(alongU, length(bend(at(r, c), at(r, c + 1), at(r, c + 2))));
                alongV = std::max(alongV, length(bend(at(c, r), at(c + 1, r), at(c + 2, r))));
            }
        for (size_t r = 0; r < 3; ++r)
            for (size_t c = 0; c < 3; ++c)
                twist = std::max(twist, length(twistOf(net, 4 * r + c, 4 * r + c + 1, 4 * r + c + 4,
                                                       4 * r + c + 5)));
        uu_ = 6 * alongU * scale_;
        uv_ = 2 * 9 * twist * scale_;
        vv_ = 6 * alongV * scale_;
    }

    bool known() const { return scale_ > 0 && scale_ < INFINITY; }

    float stray(int across, int down) {
        const float a = static_cast<float>(across), d = static_cast<float>(down);
        const float cells = (uu_ / (a * a) + uv_ / (a * d) + vv_ / (d * d)) / 8;
        // The bilinear bound holds for one quad, and is worked out only where it may decide.
        if (across > 1 || down > 1 || cells <= kFlatPixels) return cells;
        return std::min(quadStray(), cells);
    }

  private:
    float quadStray() {
        if (quadStray_ >= 0) return quadStray_;
        float stray = 0;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                const float u = static_cast<float>(c) / 3, v = static_cast<float>(r) / 3;
                const float w[4] = {(1 - u) * (1 - v), u * (1 - v), (1 - u) * v, u * v};
                vm::Float3 b{0, 0, 0};
                for (int k = 0; k < 4; ++k) {
                    const vm::Float3& q = net_[kCorners[k]];
                    b = {b.x + w[k] * q.x, b.y + w[k] * q.y, b.z + w[k] * q.z};
                }
                stray = std::max(stray, distance(net_[static_cast<size_t>(4 * r + c)], b));
            }
        quadStray_ = (stray + 0.25f * length(twistOf(net_, 0, 3, 12, 15))) * scale_;
        return quadStray_;
    }
    static vm::Float3 bend(const vm::Float3& a, const vm::Float3& b, const vm::Float3& c) {
        return {a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y, a.z - 2 * b.z + c.z};
    }
    static vm::Float3 twistOf(const std::array<vm::Float3, 16>& net, size_t a, size_t b, size_t c,
                              size_t d) {
        return {net[a].x - net[b].x - net[c].x + net[d].x,
                net[a].y - net[b].y - net[c].y + net[d].y,
                net[a].z - net[b].z - net[c].z + net[d].z};
    }

    const std::array<vm::Float3, 16>& net_;
    float scale_ = 0, uu_ = 0, uv_ = 0, vv_ = 0;
    float quadStray_ = -1; // not yet worked out
};

// The grid of at most n segments a side with the fewest triangles whose triangles stray from
// the patch by at most kFlatPixels on the screen; n × n when none does.
Grid flatGrid(const std::array<vm::Float3, 16>& net, float scale, int n) {
    FlatnessBound bound(net, scale);
    if (!bound.known()) return squareGrid(n);
    if (bound.stray(1, 1) <= kFlatPixels) return squareGrid(1);
    Grid best = squareGrid(n);
    int bestCells = n * n + 1;
    float bestStray = INFINITY;
    for (int across = 1; across <= n; across *= 2)
        for (int down = 1; down <= n; down *= 2) {
            const float stray = bound.stray(across, down);
            const int cells = across * down;
            if (stray > kFlatPixels) continue;
            if (cells < bestCells || (cells == bestCells && stray < bestStray)) {
                best = gridOf(across, down);
                bestCells = cells;
                bestStray = stray;
            }
        }
    return best;
}

// How a view places points: m takes them to clip space, half the view's size in pixels. A
// point at s pixels from the view's centre moves on the screen by J·d / w for a move d in the
// model, J = A − s·cᵀ, where A holds the first two columns of m without their translation in
// pixels and c its fourth (w's): the most a unit move spans there is J's largest singular
// value, the root of the larger eigenvalue of J·Jᵀ = A·Aᵀ − (A·c)·sᵀ − s·(A·c)ᵀ + |c|²·s·sᵀ.
struct Placing {
    vm::Mat4 m;
    float halfWidth, halfHeight;
    float xx = 0, xy = 0, yy = 0; // A·Aᵀ
    float cx = 0, cy = 0, cc = 0; // A·c and |c|²
    Placing(const vm::Mat4& matrix, float halfW, float halfH)
        : m(matrix), halfWidth(halfW), halfHeight(halfH) {
        const vm::Float3 x = column(0, halfWidth), y = column(1, halfHeight), w = column(3, 1);
        xx = dot(x, x), xy = dot(x, y), yy = dot(y, y);
        cx = dot(x, w), cy = dot(y, w), cc = dot(w, w);
    }
    // The most a unit move spans on the screen at (sx, sy) pixels from the centre, times w.
    float stretchAt(float sx, float sy) const {
        const float a = xx - 2 * cx * sx + cc * sx * sx, d = yy - 2 * cy * sy + cc * sy * sy;
        const float b = xy - cx * sy - cy * sx + cc * sx * sy;
        const float half = 0.5f * (a + d);
        return std::sqrt(half + std::sqrt(0.25f * (a - d) * (a - d) + b * b));
    }
    vm::Float3 column(int k, float pixels) const {
        return {m[0][k] * pixels, m[1][k] * pixels, m[2][k] * pixels};
    }
};

// The grid of one copy of a patch; none when it is outside the view.
Grid copyGrid(const std::array<vm::Float3, 16>& points, const Placing& view,
              float pixelsPerSegment) {
    unsigned all = ~0u;
    bool behind = false, inFront = false;
    float minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;
    float nearestW = INFINITY;
    for (const vm::Float3& p : points) {
        const vm::Vec4 c = vm::transform({p.x, p.y, p.z, 1}, view.m);
        all &= outside(c);
        if (!(c.w > 0)) {
            behind = true; // a point at or behind the eye: its size on the screen is unbounded
            continue;
        }
        inFront = true;
        const float x = c.x / c.w * view.halfWidth, y = c.y / c.w * view.halfHeight;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        nearestW = std::min(nearestW, c.w);
    }
    if (all || !inFront) return kNoGrid; // every point beyond one and the same plane, or behind
    if (behind) return squareGrid(kMaxSegments);
    const int n = segmentsFor(std::max(maxX - minX, maxY - minY), pixelsPerSegment);
    // The wireframe display shows the segments themselves: its levels stay as they are.
    if (n == 1 || n > kFlatTestSegments || pixelsPerSegment > kPixelsPerSegment)
        return squareGrid(n);
    // Within the net's hull (w > 0) 1 / w is largest at its points, and the stretch, convex in
    // the place on the screen, at a corner of the points' box: the most a unit of the model
    // spans on the screen there, whichever way it lies to the view (seen edge-on, a patch's
    // sides are short on the screen while its bulge is not).
    float stretch = 0;
    for (const float x : {minX, maxX})
        for (const float y : {minY, maxY})
            stretch = std::max(stretch, view.stretchAt(x, y));
    return flatGrid(points, stretch / nearestW, n);
}

struct ViewOfPatches {
    Placing placing[2];
    float pixelsPerSegment;
    ViewOfPatches(const vm::Mat4 world[2], const vm::Mat4& viewProjection, int width, int height,
                  float pixels)
        : placing{{world[0] * viewProjection, halfOf(width), halfOf(height)},
                  {world[1] * viewProjection, halfOf(width), halfOf(height)}},
          pixelsPerSegment(pixels) {}
    static float halfOf(int pixels) { return 0.5f * static_cast<float>(std::max(pixels, 1)); }

    Grid gridOfPatch(const Model& model, size_t i) const {
        const Model::Patch& patch = model.patches[i];
        if (!model.isShown(patch)) return kNoGrid;
        const std::array<vm::Float3, 16> points = bezier::controlPoints(model, patch);
        const Grid grid = copyGrid(points, placing[0], pixelsPerSegment);
        if (!model.isSymmetry(patch.group)) return grid;
        return finerGrid(grid, copyGrid(points, placing[1], pixelsPerSegment));
    }
};

} // namespace

void patchSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                   int width, int height, std::vector<Grid>& grids, float pixelsPerSegment) {
    const ViewOfPatches view(world, viewProjection, width, height, pixelsPerSegment);
    grids.resize(model.patches.size());
    inParallelRanges(model.patches.size(), [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            grids[i] = view.gridOfPatch(model, i);
    });
    keepWithin(kVertexBudget, grids);
}

bool updateSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                    int width, int height, const std::vector<uint32_t>& patches,
                    std::vector<Grid>& grids, float pixelsPerSegment) {
    const ViewOfPatches view(world, viewProjection, width, height, pixelsPerSegment);
    bool changed = false;
    for (uint32_t i : patches) {
        if (i >= grids.size() || i >= model.patches.size()) continue;
        const Grid grid = view.gridOfPatch(model, i);
        changed = changed || grid != grids[i];
        grids[i] = grid;
    }
    if (changed) keepWithin(kVertexBudget, grids);
    return changed;
}

void keepWithin(size_t budget, std::vector<Grid>& grids) {
    // Patches with each grid, then the finest level whose total fits.
    std::array<size_t, 256> withGrid{};
    for (Grid g : grids)
        ++withGrid[g];
    int cap = kMaxSegments;
    auto total = [&](int c) {
        size_t sum = 0;
        for (size_t g = 0; g < withGrid.size(); ++g)
            if (withGrid[g]) sum += withGrid[g] * gridVertices(cappedGrid(static_cast<Grid>(g), c));
        return sum;
    };
    while (cap > 1 && total(cap) > budget)
        cap /= 2;
    if (cap == kMaxSegments) return;
    for (Grid& g : grids)
        g = cappedGrid(g, cap);
}

const std::vector<uint32_t>& triangleIndices(Grid grid) {
    static const auto grids = [] {
        std::array<std::vector<uint32_t>, 256> all;
        for (int a = 1; a <= kMaxSegments; a *= 2)
            for (int d = 1; d <= kMaxSegments; d *= 2) {
                std::vector<uint32_t>& out = all[gridOf(a, d)];
                const uint32_t row = static_cast<uint32_t>(a) + 1;
                for (uint32_t j = 0; j < static_cast<uint32_t>(d); ++j)
                    for (uint32_t i = 0; i < static_cast<uint32_t>(a); ++i) {
                        const uint32_t v00 = j * row + i, v10 = v00 + 1;
                        const uint32_t v01 = v00 + row, v11 = v01 + 1;
                        for (uint32_t v : {v00, v10, v11, v00, v11, v01})
                            out.push_back(v);
                    }
            }
        return all;
    }();
    return grids[grid];
}

} // namespace detail
