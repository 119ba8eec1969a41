#include "model/mesh-tessellation.h"

#include <optional>

#include <unordered_map>

#include "model/bezier-surface.h"

namespace mesh {

// A use of an edge by a surface going round it.
struct EdgeUse {
    uint32_t edge, surface;
    int8_t sign; // +1 when the way round runs the edge's canonical direction
};

namespace {

using Weights = std::array<float, 4>;

vm::Float3 blend(const vm::Float3* p, const Weights& w) {
    vm::Float3 r{};
    for (size_t k = 0; k < 4; ++k) {
        r.x += w[k] * p[k].x;
        r.y += w[k] * p[k].y;
        r.z += w[k] * p[k].z;
    }
    return r;
}

// An edge by its four control points in canonical order (the smaller of its two readings).
struct EdgeKey {
    std::array<int32_t, 4> points;
    bool mirrored; // the mirror image of an edge off the mirror plane
    bool operator==(const EdgeKey& o) const { return points == o.points && mirrored == o.mirrored; }
};
struct EdgeKeyHash {
    size_t operator()(const EdgeKey& k) const {
        uint64_t h = k.mirrored ? 0x9e3779b97f4a7c15ull : 0;
        for (int32_t p : k.points)
            h = (h ^ static_cast<uint32_t>(p)) * 0x100000001b3ull;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

constexpr bool kForwardRound[4] = {true, true, false,
                                   false}; // the way round runs the parameter's way

} // namespace

SurfacePlan::SurfacePlan(const Model& model, int segments) : model_(model), n_(segments) {
    for (int k = 0; k <= n_; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(n_);
        b_.push_back(bezier::bernstein(t));
        d_.push_back(bezier::bernsteinDerivative(t));
    }
    // Surfaces by part: patches in no group, then each group's (its mirror images after).
    const size_t groups = model.groups.size();
    for (size_t part = 0; part <= groups; ++part) {
        const int32_t group = part == 0 ? -1 : static_cast<int32_t>(part - 1);
        const bool symmetry = model.isSymmetry(group);
        Part p;
        p.name = part == 0 ? "surface" : model.groups[part - 1]->name;
        p.firstSurface = surfaces_.size();
        for (int mirrored = 0; mirrored <= (symmetry ? 1 : 0); ++mirrored)
            for (size_t k = 0; k < model.patches.size(); ++k) {
                const int32_t g = model.patches[k].group;
                const bool inPart =
                    part == 0 ? (g < 0 || static_cast<size_t>(g) >= groups) : g == group;
                if (inPart) surfaces_.push_back({static_cast<uint32_t>(k), mirrored != 0});
            }
        p.surfaces = surfaces_.size() - p.firstSurface;
        if (p.surfaces > 0) parts_.push_back(p);
    }

    // The edges, named by their control points.
    std::unordered_map<EdgeKey, uint32_t, EdgeKeyHash> ids;
    ids.reserve(surfaces_.size() * 2);
    std::vector<EdgeUse> uses;
    uses.reserve(surfaces_.size() * 4);
    edges_.resize(surfaces_.size() * 4);
    for (size_t s = 0; s < surfaces_.size(); ++s) {
        const Model::Patch& patch = model.patches[surfaces_[s].patch];
        for (int e = 0; e < 4; ++e) {
            std::array<int32_t, 4> points;
            for (size_t k = 0; k < 4; ++k)
                points[k] = patch.indices[static_cast<size_t>(kEdgePoints[e][k])];
            if (points[0] == points[1] && points[1] == points[2] && points[2] == points[3])
                continue; // collapsed into one point: no edge to share
            const std::array<int32_t, 4> reversed{points[3], points[2], points[1], points[0]};
            EdgeRef& ref = edges_[4 * s + static_cast<size_t>(e)];
            ref.reversed = reversed < points;
            EdgeKey key{ref.reversed ? reversed : points, false};
            bool onPlane = true;
            for (int32_t q : key.points)
                onPlane = onPlane && model.points[static_cast<size_t>(q)].x == 0;
            key.mirrored = surfaces_[s].mirrored && !onPlane;
            ref.id = ids.try_emplace(key, static_cast<uint32_t>(ids.size())).first->second;
            uses.push_back({ref.id, static_cast<uint32_t>(s),
                            static_cast<int8_t>(ref.reversed != kForwardRound[e] ? 1 : -1)});
        }
    }
    edgeCount_ = ids.size();
    orient(uses);
}

std::array<vm::Float3, 16> SurfacePlan::controlPoints(const Surface& s) const {
    std::array<vm::Float3, 16> p = bezier::controlPoints(model_, model_.patches[s.patch]);
    if (s.mirrored)
        for (vm::Float3& q : p)
            if (q.x != 0) q.x = -q.x;
    return p;
}

void SurfacePlan::positions(size_t s, vm::Float3* out) const {
    const std::array<vm::Float3, 16> p = controlPoints(surfaces_[s]);
    const size_t w = side(), n = static_cast<size_t>(n_);
    auto at = [&](size_t i, size_t j) -> vm::Float3& { return out[j * w + i]; };
    // Inside: rows blended along u, then along v.
    for (size_t i = 1; i < n; ++i) {
        vm::Float3 column[4];
        for (size_t r = 0; r < 4; ++r)
            column[r] = blend(&p[4 * r], b_[i]);
        for (size_t j = 1; j < n; ++j)
            at(i, j) = blend(column, b_[j]);
    }
    at(0, 0) = p[0];
    at(n, 0) = p[3];
    at(0, n) = p[12];
    at(n, n) = p[15];
    for (int e = 0; e < 4; ++e) {
        const EdgeRef& ref = edges_[4 * s + static_cast<size_t>(e)];
        auto gridAt = [&](size_t k) -> vm::Float3& {
            switch (e) {
            case 0:
                return at(k, 0);
            case 1:
                return at(n, k);
            case 2:
                return at(k, n);
            default:
                return at(0, k);
            }
        };
        if (ref.id == UINT32_MAX) {
            for (size_t k = 1; k < n; ++k)
                gridAt(k) = gridAt(0);
            continue;
        }
        vm::Float3 canonical[4];
        for (size_t k = 0; k < 4; ++k)
            canonical[k] = p[static_cast<size_t>(kEdgePoints[e][ref.reversed ? 3 - k : k])];
        for (size_t k = 1; k < n; ++k)
            gridAt(ref.reversed ? n - k : k) = blend(canonical, b_[k]);
    }
}

void SurfacePlan::normals(size_t s, vm::Float3* out) const {
    const std::array<vm::Float3, 16> p = controlPoints(surfaces_[s]);
    const size_t w = side();
    const float sign = turned_[s] ? -1.0f : 1.0f;
    for (size_t i = 0; i < w; ++i) {
        vm::Float3 rows[4], rowsDu[4];
        for (size_t r = 0; r < 4; ++r) {
            rows[r] = blend(&p[4 * r], b_[i]);
            rowsDu[r] = blend(&p[4 * r], d_[i]);
        }
        for (size_t j = 0; j < w; ++j) {
            const vm::Float3 du = blend(rowsDu, b_[j]), dv = blend(rows, d_[j]);
            // Where the derivatives vanish (a collapsed edge) the normal comes from a little
            // way inside.
            const std::optional<vm::Float3> direct = bezier::unitNormal(du, dv);
            const vm::Float3 n =
                direct ? *direct
                       : bezier::normalAt(p, static_cast<float>(i) / static_cast<float>(n_),
                                          static_cast<float>(j) / static_cast<float>(n_));
            out[j * w + i] = {sign * n.x, sign * n.y, sign * n.z};
        }
    }
}

double SurfacePlan::signedVolume(size_t s) const {
    std::vector<vm::Float3> grid(side() * side());
    positions(s, grid.data());
    double volume = 0;
    gridTriangles(side(), false, [&](size_t a, size_t b, size_t c) {
        const vm::Float3 &p = grid[a], &q = grid[b], &r = grid[c];
        volume += static_cast<double>(p.x) *
                      (static_cast<double>(q.y) * r.z - static_cast<double>(q.z) * r.y) +
                  static_cast<double>(p.y) *
                      (static_cast<double>(q.z) * r.x - static_cast<double>(q.x) * r.z) +
                  static_cast<double>(p.z) *
                      (static_cast<double>(q.x) * r.y - static_cast<double>(q.y) * r.x);
    });
    return volume / 6;
}

void SurfacePlan::orient(const std::vector<EdgeUse>& uses) {
    const size_t count = surfaces_.size();
    turned_.assign(count, false);
    // Uses grouped by edge, and each surface's own.
    std::vector<uint32_t> start(edgeCount_ + 1, 0);
    for (const EdgeUse& u : uses)
        ++start[u.edge + 1];
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<EdgeUse> byEdge(uses.size());
    {
        std::vector<uint32_t> fill(start.begin(), start.end() - 1);
        for (const EdgeUse& u : uses)
            byEdge[fill[u.edge]++] = u;
    }
    std::vector<uint32_t> ownStart(count + 1, 0);
    for (const EdgeUse& u : uses)
        ++ownStart[u.surface + 1];
    for (size_t k = 1; k < ownStart.size(); ++k)
        ownStart[k] += ownStart[k - 1];

    std::vector<bool> seen(count, false);
    std::vector<uint32_t> order; // originals first, then mirror images
    order.reserve(count);
    for (int mirrored = 0; mirrored < 2; ++mirrored)
        for (size_t s = 0; s < count; ++s)
            if (surfaces_[s].mirrored == (mirrored != 0)) order.push_back(static_cast<uint32_t>(s));
    std::vector<uint32_t> piece, queue;
    for (uint32_t root : order) {
        if (seen[root]) continue;
        piece.clear();
        queue.assign(1, root);
        seen[root] = true;
        turned_[root] = surfaces_[root].mirrored;
        bool closed = true;
        while (!queue.empty()) {
            const uint32_t s = queue.back();
            queue.pop_back();
            piece.push_back(s);
            for (uint32_t k = ownStart[s]; k < ownStart[s + 1]; ++k) {
                const EdgeUse& mine = uses[k];
                closed = closed && start[mine.edge + 1] - start[mine.edge] == 2;
                const int way = mine.sign * (turned_[s] ? -1 : 1);
                for (uint32_t o = start[mine.edge]; o < start[mine.edge + 1]; ++o) {
                    const EdgeUse& other = byEdge[o];
                    if (seen[other.surface]) continue;
                    seen[other.surface] = true;
                    turned_[other.surface] = other.sign != -way;
                    queue.push_back(other.surface);
                }
            }
        }
        if (!closed) continue;
        double volume = 0;
        for (uint32_t s : piece)
            volume += turned_[s] ? -signedVolume(s) : signedVolume(s);
        if (volume < 0)
            for (uint32_t s : piece)
                turned_[s] = !turned_[s];
    }
}

} // namespace mesh
