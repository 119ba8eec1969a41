#include "editor/pick-accelerator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

    const size_t n = model.points.size();
    screen_.resize(n);
    for (size_t i = 0; i < n; ++i)
        screen_[i] = projectToScreen(model.points[i], m);

    Grid& g = points_;
    g.size = kGridSize;
    g.x0 = g.y0 = -kGridExtent;
    g.cell = 2 * kGridExtent / kGridSize;
    g.start.assign(static_cast<size_t>(g.size * g.size) + 1, 0);
    g.elsewhere.clear();
    auto inside = [](ScreenPoint s) {
        return std::fabs(s.x) < kGridExtent && std::fabs(s.y) < kGridExtent; // false for NaN
    };
    for (size_t i = 0; i < n; ++i)
        if (inside(screen_[i]))
            ++g.start[static_cast<size_t>(g.cellY(screen_[i].y) * g.size + g.cellX(screen_[i].x)) +
                      1];
    for (size_t c = 1; c < g.start.size(); ++c)
        g.start[c] += g.start[c - 1];
    g.items.resize(g.start.back());
    std::vector<uint32_t> fill(g.start.begin(), g.start.end() - 1);
    for (size_t i = 0; i < n; ++i) {
        if (inside(screen_[i]))
            g.items[fill[static_cast<size_t>(g.cellY(screen_[i].y) * g.size +
                                             g.cellX(screen_[i].x))]++] = static_cast<uint32_t>(i);
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
