#include "editor/pick-accelerator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace {

constexpr int kGridSize = 128;
constexpr float kGridExtent = 4.0f; // screen units either side of the centre that the grid covers

bool sameMatrix(const vm::Mat4& a, const vm::Mat4& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

int PickAccelerator::Grid::cellX(float x) const {
    return std::clamp(static_cast<int>(std::floor((x - x0) / cell)), 0, size - 1);
}
int PickAccelerator::Grid::cellY(float y) const {
    return std::clamp(static_cast<int>(std::floor((y - y0) / cell)), 0, size - 1);
}

bool PickAccelerator::refresh(const Model& model, const vm::Mat4& m) {
    if (valid_ && model_ == &model && revision_ == model.revision && sameMatrix(matrix_, m))
        return false;
    model_ = &model;
    revision_ = model.revision;
    matrix_ = m;
    valid_ = true;
    patchesBuilt_ = false;

    // One pass projects every point (as projectToScreen does, operation for operation, so
    // the answers stay those of pickPoint) and finds its cell; the grid is then a counting
    // sort of the cells.
    const size_t n = model.points.size();
    screen_.resize(n);
    cellOf_.resize(n);
    Grid& g = points_;
    g.size = kGridSize;
    g.x0 = g.y0 = -kGridExtent;
    g.cell = 2 * kGridExtent / kGridSize;
    constexpr uint32_t kOutside = ~0u;
    const float m00 = m[0][0], m10 = m[1][0], m20 = m[2][0], m30 = m[3][0];
    const float m01 = m[0][1], m11 = m[1][1], m21 = m[2][1], m31 = m[3][1];
    const float m03 = m[0][3], m13 = m[1][3], m23 = m[2][3], m33 = m[3][3];
    const vm::Float3* points = model.points.data();
    auto project = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            const vm::Float3 p = points[i];
            const float x = p.x * m00 + p.y * m10 + p.z * m20 + m30;
            const float y = p.x * m01 + p.y * m11 + p.z * m21 + m31;
            const float w = p.x * m03 + p.y * m13 + p.z * m23 + m33;
            const ScreenPoint s{x / w, y / w};
            screen_[i] = s;
            // Inside the grid (false for NaN): its cell; else it is looked at on every pick.
            cellOf_[i] = std::fabs(s.x) < kGridExtent && std::fabs(s.y) < kGridExtent
                             ? static_cast<uint32_t>(g.cellY(s.y) * g.size + g.cellX(s.x))
                             : kOutside;
        }
    };
    // Large pools are projected on every core at once (each thread its own range).
    const size_t threads =
        n < 200000 ? 1 : std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < threads; ++t)
        helpers.emplace_back(project, n * t / threads, n * (t + 1) / threads);
    project(0, n / threads);
    for (std::thread& helper : helpers)
        helper.join();
    g.start.assign(static_cast<size_t>(g.size * g.size) + 1, 0);
    g.elsewhere.clear();
    for (size_t i = 0; i < n; ++i)
        if (cellOf_[i] != kOutside) ++g.start[cellOf_[i] + 1];
    for (size_t c = 1; c < g.start.size(); ++c)
        g.start[c] += g.start[c - 1];
    g.items.resize(g.start.back());
    std::vector<uint32_t> fill(g.start.begin(), g.start.end() - 1);
    for (size_t i = 0; i < n; ++i) {
        if (cellOf_[i] != kOutside)
            g.items[fill[cellOf_[i]]++] = static_cast<uint32_t>(i);
        else
            g.elsewhere.push_back(static_cast<uint32_t>(i));
    }
    return true;
}

PointPick PickAccelerator::pickPoint(const Model& model, const vm::Mat4& world,
                                     const vm::Mat4& viewProjection,
                                     const std::vector<int>& useCount, float nx, float ny) {
    refresh(model, world * viewProjection);
    PointPick pick;
    float best = 0;
    const size_t limit = std::min(model.points.size(), useCount.size());
    auto consider = [&](uint32_t i) {
        if (i >= limit || useCount[i] == 0) return;
        const ScreenPoint s = screen_[i];
        const float d2 = (nx - s.x) * (nx - s.x) + (ny - s.y) * (ny - s.y);
        if (d2 != d2) return;
        if (pick.index < 0 || d2 < best || (d2 == best && static_cast<int>(i) < pick.index)) {
            best = d2;
            pick.index = static_cast<int>(i);
        }
    };
    // Rings of cells around the mouse, until no closer point can lie farther out.
    const Grid& g = points_;
    const int cx = g.cellX(nx), cy = g.cellY(ny);
    for (int r = 0; r < g.size; ++r) {
        if (r > 0 && pick.index >= 0) {
            // Distance from the mouse to the outside of the block already searched.
            const float left = nx - (g.x0 + (cx - r + 1) * g.cell),
                        right = g.x0 + (cx + r) * g.cell - nx;
            const float down = ny - (g.y0 + (cy - r + 1) * g.cell),
                        up = g.y0 + (cy + r) * g.cell - ny;
            const float bound = std::min(std::min(left, right), std::min(down, up));
            if (bound > 0 && bound * bound > best) break;
        }
        for (int y = cy - r; y <= cy + r; ++y) {
            if (y < 0 || y >= g.size) continue;
            const bool edgeRow = y == cy - r || y == cy + r;
            for (int x = cx - r; x <= cx + r; x += (edgeRow || r == 0) ? 1 : 2 * r) {
                if (x < 0 || x >= g.size) continue;
                const size_t c = static_cast<size_t>(y * g.size + x);
                for (uint32_t k = g.start[c]; k < g.start[c + 1]; ++k)
                    consider(g.items[k]);
            }
        }
    }
    for (uint32_t i : g.elsewhere)
        consider(i);
    pick.hot = pick.index >= 0 && 800 * best < 1;
    return pick;
}

PatchPick PickAccelerator::pickPatch(const Model& model, const vm::Mat4& world,
                                     const vm::Mat4& viewProjection, const OrbitCamera& camera,
                                     const ViewportHit& hit) {
    refresh(model, world * viewProjection);
    Grid& g = patches_;
    if (!patchesBuilt_) {
        // Each patch goes into every cell its net's screen box touches; a net reaching behind
        // the eye, or off the grid, is tested on every move.
        g.size = kGridSize / 2;
        g.x0 = g.y0 = -1.0f;
        g.cell = 2.0f / g.size;
        std::vector<std::vector<uint32_t>> cells(static_cast<size_t>(g.size * g.size));
        g.elsewhere.clear();
        const vm::Mat4 m = world * viewProjection;
        for (size_t p = 0; p < model.patches.size(); ++p) {
            float minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
            bool behind = false;
            for (int32_t index : model.patches[p].indices) {
                const vm::Float3& q = model.points[static_cast<size_t>(index)];
                const vm::Vec4 s = vm::transform({q.x, q.y, q.z, 1}, m);
                if (!(s.w > 0)) {
                    behind = true;
                    break;
                }
                minX = std::min(minX, s.x / s.w);
                maxX = std::max(maxX, s.x / s.w);
                minY = std::min(minY, s.y / s.w);
                maxY = std::max(maxY, s.y / s.w);
            }
            const float margin = 1e-3f; // rounding between the ray test and the projection
            if (behind || !(maxX - minX < 3 && maxY - minY < 3)) {
                g.elsewhere.push_back(static_cast<uint32_t>(p));
                continue;
            }
            if (maxX < -1 - margin || minX > 1 + margin || maxY < -1 - margin || minY > 1 + margin)
                continue; // off the screen: the mouse never reaches it
            for (int y = g.cellY(minY - margin); y <= g.cellY(maxY + margin); ++y)
                for (int x = g.cellX(minX - margin); x <= g.cellX(maxX + margin); ++x)
                    cells[static_cast<size_t>(y * g.size + x)].push_back(static_cast<uint32_t>(p));
        }
        g.start.assign(cells.size() + 1, 0);
        g.items.clear();
        for (size_t c = 0; c < cells.size(); ++c) {
            g.items.insert(g.items.end(), cells[c].begin(), cells[c].end());
            g.start[c + 1] = static_cast<uint32_t>(g.items.size());
        }
        patchesBuilt_ = true;
    }
    PatchPick pick = pickRay(camera, hit);
    std::vector<uint32_t> candidates;
    if (hit.nx >= -1 && hit.nx <= 1 && hit.ny >= -1 && hit.ny <= 1) {
        const size_t c = static_cast<size_t>(g.cellY(hit.ny) * g.size + g.cellX(hit.nx));
        candidates.assign(g.items.begin() + g.start[c], g.items.begin() + g.start[c + 1]);
    } else {
        for (size_t p = 0; p < model.patches.size(); ++p)
            candidates.push_back(static_cast<uint32_t>(p));
    }
    candidates.insert(candidates.end(), g.elsewhere.begin(), g.elsewhere.end());
    std::sort(candidates.begin(), candidates.end()); // patch order decides equal distances
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    for (uint32_t p : candidates)
        if (model.isShown(p)) testPatchNet(model, world, p, pick);
    return pick;
}
