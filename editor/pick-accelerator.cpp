#include "editor/pick-accelerator.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <queue>

namespace {

// A lower bound on the screen distance from (nx, ny) to any point of the box seen through
// m; 0 when there is none to give (the box reaches across the eye's plane).
//
// While w keeps one sign over the box, the projection maps the box into the rectangle of
// its corners' projections. The rounding of a point's own projection is allowed for: it is
// no larger than a few units in the last place of the terms summed, over the smallest w.
float screenDistanceBound(const Box3& box, const vm::Mat4& m, float nx, float ny) {
    float minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    float minW = INFINITY, maxW = -INFINITY, termsXY = 0, termsW = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const float px = corner & 1 ? box.hi.x : box.lo.x;
        const float py = corner & 2 ? box.hi.y : box.lo.y;
        const float pz = corner & 4 ? box.hi.z : box.lo.z;
        const float x = px * m[0][0] + py * m[1][0] + pz * m[2][0] + m[3][0];
        const float y = px * m[0][1] + py * m[1][1] + pz * m[2][1] + m[3][1];
        const float w = px * m[0][3] + py * m[1][3] + pz * m[2][3] + m[3][3];
        minX = std::min(minX, x / w);
        maxX = std::max(maxX, x / w);
        minY = std::min(minY, y / w);
        maxY = std::max(maxY, y / w);
        minW = std::min(minW, w);
        maxW = std::max(maxW, w);
        termsXY = std::max(termsXY, std::fabs(px * m[0][0]) + std::fabs(py * m[1][0]) +
                                        std::fabs(pz * m[2][0]) + std::fabs(m[3][0]) +
                                        std::fabs(px * m[0][1]) + std::fabs(py * m[1][1]) +
                                        std::fabs(pz * m[2][1]) + std::fabs(m[3][1]));
        termsW = std::max(termsW, std::fabs(px * m[0][3]) + std::fabs(py * m[1][3]) +
                                      std::fabs(pz * m[2][3]) + std::fabs(m[3][3]));
    }
    const float nearestW = minW > 0 ? minW : -maxW;
    if (!(nearestW > 0)) return 0; // across the eye's plane, or not a number
    const float reach = std::max(std::max(std::fabs(minX), std::fabs(maxX)),
                                 std::max(std::fabs(minY), std::fabs(maxY)));
    const float slack = 16 * FLT_EPSILON * (termsXY + reach * termsW) / nearestW +
                        16 * FLT_EPSILON * (reach + std::fabs(nx) + std::fabs(ny));
    const float dx = std::max(std::max(minX - nx, nx - maxX), 0.0f);
    const float dy = std::max(std::max(minY - ny, ny - maxY), 0.0f);
    const float d = std::sqrt(dx * dx + dy * dy) - slack;
    return d > 0 ? d : 0; // NaN gives 0
}

// Whether the ray from o along d (t ≥ 0) passes through the box grown by a margin that
// covers the rounding of the triangle tests.
bool rayMeetsBox(const vm::Vec4& o, const vm::Vec4& d, const Box3& box) {
    float tNear = 0, tFar = INFINITY;
    const float lo[3] = {box.lo.x, box.lo.y, box.lo.z}, hi[3] = {box.hi.x, box.hi.y, box.hi.z};
    const float origin[3] = {o.x, o.y, o.z}, direction[3] = {d.x, d.y, d.z};
    for (int a = 0; a < 3; ++a) {
        const float margin =
            1e-3f * (hi[a] - lo[a]) + 1e-5f * std::max(std::fabs(lo[a]), std::fabs(hi[a])) + 1e-30f;
        const float l = lo[a] - margin, h = hi[a] + margin;
        if (!(l <= h)) return true; // not numbers: let the triangle test decide
        if (direction[a] == 0) {
            if (origin[a] < l || origin[a] > h) return false;
            continue;
        }
        float t0 = (l - origin[a]) / direction[a], t1 = (h - origin[a]) / direction[a];
        if (t0 > t1) std::swap(t0, t1);
        tNear = std::max(tNear, t0);
        tFar = std::min(tFar, t1);
        if (tNear > tFar * (1 + 1e-5f) + 1e-30f) return false;
    }
    return true;
}

} // namespace

bool PickAccelerator::Kept::current(const Model& m, uint64_t r) const {
    return valid && model == &m && revision == r;
}

// Items that moved keep their places in the hierarchy (its boxes follow) and a few added
// ones join its end; anything else orders it anew.
template <class BoxOf>
void PickAccelerator::Kept::update(const Model& m, uint64_t r, size_t items, BoxOf boxOf) {
    if (!valid || model != &m || items < count || items - count > count / 8 + 64)
        tree.build(items, boxOf);
    else if (items > count)
        tree.append(items, boxOf);
    else
        tree.refit(boxOf);
    model = &m;
    revision = r;
    count = items;
    valid = true;
}

void PickAccelerator::refreshPoints(const Model& model) {
    if (points_.current(model, revision_)) return;
    const vm::Float3* points = model.points.data();
    points_.update(model, revision_, model.points.size(), [points](size_t i) {
        Box3 b;
        b.lo = b.hi = points[i];
        return b;
    });
}

void PickAccelerator::refreshPatches(const Model& model) {
    if (patches_.current(model, revision_)) return;
    const vm::Float3* points = model.points.data();
    patches_.update(model, revision_, model.patches.size(), [&model, points](size_t p) {
        Box3 b;
        for (int32_t index : model.patches[p].indices)
            b.add(points[static_cast<size_t>(index)]);
        return b;
    });
}

PointPick PickAccelerator::pickPoint(const Model& model, const vm::Mat4& world,
                                     const vm::Mat4& viewProjection,
                                     const std::vector<int>& useCount, float nx, float ny) {
    refreshPoints(model);
    const BoxTree& tree = points_.tree;
    const vm::Mat4 m = world * viewProjection;
    PointPick pick;
    float best = 0;
    const size_t limit = std::min(model.points.size(), useCount.size());
    auto consider = [&](uint32_t i) {
        if (i >= limit || useCount[i] == 0) return;
        const ScreenPoint s = projectToScreen(model.points[i], m);
        const float d2 = (nx - s.x) * (nx - s.x) + (ny - s.y) * (ny - s.y);
        if (d2 != d2) return;
        if (pick.index < 0 || d2 < best || (d2 == best && static_cast<int>(i) < pick.index)) {
            best = d2;
            pick.index = static_cast<int>(i);
        }
    };
    // Nearest boxes first; a box whose bound lies beyond the best point so far is left.
    struct Visit {
        float bound;
        uint32_t level, node;
        bool operator>(const Visit& o) const { return bound > o.bound; }
    };
    std::priority_queue<Visit, std::vector<Visit>, std::greater<Visit>> queue;
    const size_t levels = tree.levelCount();
    if (levels > 0) queue.push({0, static_cast<uint32_t>(levels - 1), 0});
    const std::vector<uint32_t>& order = tree.order();
    while (!queue.empty()) {
        const Visit v = queue.top();
        queue.pop();
        if (pick.index >= 0 && v.bound * v.bound > best * (1 + 1e-5f)) break;
        if (v.level == 0) {
            for (size_t k = tree.leafBegin(v.node); k < tree.leafEnd(v.node); ++k)
                consider(order[k]);
            continue;
        }
        const std::vector<Box3>& below = tree.level(v.level - 1);
        const size_t first = static_cast<size_t>(v.node) * BoxTree::kFanOut;
        for (size_t c = first; c < std::min(below.size(), first + BoxTree::kFanOut); ++c)
            if (!below[c].empty())
                queue.push({screenDistanceBound(below[c], m, nx, ny), v.level - 1,
                            static_cast<uint32_t>(c)});
    }
    pick.hot = pick.index >= 0 && 800 * best < 1;
    return pick;
}

PatchPick PickAccelerator::pickPatch(const Model& model, const vm::Mat4& world,
                                     const OrbitCamera& camera, const ViewportHit& hit) {
    refreshPatches(model);
    const BoxTree& tree = patches_.tree;
    PatchPick pick = pickRay(camera, hit);
    // The boxes are in model space: the ray is taken there.
    float determinant = 0;
    const vm::Mat4 toModel = vm::inverse(world, &determinant);
    const vm::Vec4 o = vm::transformCoord(pick.origin, toModel);
    const vm::Vec4 d = vm::transformNormal(pick.direction, toModel);
    const bool usable = determinant != 0 && std::isfinite(o.x + o.y + o.z + d.x + d.y + d.z);
    std::vector<uint32_t> candidates;
    if (!usable) {
        for (size_t p = 0; p < model.patches.size(); ++p)
            candidates.push_back(static_cast<uint32_t>(p));
    } else if (const size_t levels = tree.levelCount(); levels > 0) {
        std::vector<std::pair<uint32_t, uint32_t>> stack{{static_cast<uint32_t>(levels - 1), 0}};
        while (!stack.empty()) {
            const auto [level, node] = stack.back();
            stack.pop_back();
            if (!rayMeetsBox(o, d, tree.level(level)[node])) continue;
            if (level == 0) {
                for (size_t k = tree.leafBegin(node); k < tree.leafEnd(node); ++k)
                    candidates.push_back(tree.order()[k]);
                continue;
            }
            const size_t first = static_cast<size_t>(node) * BoxTree::kFanOut;
            const size_t end = std::min(tree.level(level - 1).size(), first + BoxTree::kFanOut);
            for (size_t c = first; c < end; ++c)
                stack.push_back({level - 1, static_cast<uint32_t>(c)});
        }
        std::sort(candidates.begin(), candidates.end()); // patch order decides equal distances
    }
    for (uint32_t p : candidates)
        if (model.isShown(p)) testPatchNet(model, world, p, pick);
    return pick;
}
