// What an exported mesh is made of, before any vertex is shared: the surfaces to tessellate
// (every patch, and the mirror image of each patch in a symmetry), grouped into parts; the
// patch edges they share; which way each surface faces; and each surface's own grid of
// positions and normals.
//
// A shared edge is evaluated from its four control points in one canonical direction, so
// both surfaces along it get bit-identical vertices whichever way each runs. Neighbours are
// turned to run shared edges opposite ways (so they face alike); a piece with no open edge
// is then turned to face outward. The first surface of an open piece keeps the way it was
// made; a mirror image starts turned, as a mirror turns it.
#pragma once

#include <algorithm>
#include <cmath>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

namespace mesh {

// Twice a triangle's area below this share of its longest edge's square is no area.
inline constexpr float kZeroArea = 1e-5f;

class SurfacePlan {
  public:
    SurfacePlan(const Model& model, int segments);

    struct Surface {
        uint32_t patch;
        bool mirrored;
    };
    struct Part {
        std::string name; // the group's, or "surface" for patches in none
        size_t firstSurface = 0, surfaces = 0;
    };
    // One of a surface's four edges, in the order that goes round it: row 0, column 3,
    // row 3, column 0.
    struct EdgeRef {
        uint32_t id = UINT32_MAX; // the same for every surface along the edge; none when collapsed
        bool reversed = false;    // the surface's parameter runs against the canonical direction
    };

    size_t side() const { return static_cast<size_t>(n_ + 1); }
    const std::vector<Surface>& surfaces() const { return surfaces_; }
    const std::vector<Part>& parts() const { return parts_; }
    size_t edgeCount() const { return edgeCount_; }
    const EdgeRef& edge(size_t surface, int e) const {
        return edges_[4 * surface + static_cast<size_t>(e)];
    }
    bool turned(size_t surface) const { return turned_[surface]; }
    const Model& model() const { return model_; }

    // The control points as tessellated: mirrored through x = 0 for a mirror image (a
    // coordinate of 0 stays +0, so both halves meet in the same vertex).
    std::array<vm::Float3, 16> controlPoints(const Surface& s) const;
    // The surface's (n + 1)² grid positions, grid point (i, j) at u = i / n, v = j / n stored
    // at j·(n + 1) + i. Corners are the control points themselves.
    void positions(size_t surface, vm::Float3* out) const;
    // Unit normals from the derivatives at the same grid points, facing the way the surface
    // is turned.
    void normals(size_t surface, vm::Float3* out) const;
    // Grid points (i, j) of an edge's k-th vertex in the canonical direction.
    static constexpr int kEdgePoints[4][4] = {
        {0, 1, 2, 3}, {3, 7, 11, 15}, {12, 13, 14, 15}, {0, 4, 8, 12}};

  private:
    void orient(const std::vector<struct EdgeUse>& uses);
    double signedVolume(size_t surface) const;

    const Model& model_;
    const int n_;
    std::vector<std::array<float, 4>> b_, d_; // Bernstein weights and derivatives at k / n
    std::vector<Surface> surfaces_;
    std::vector<Part> parts_;
    std::vector<EdgeRef> edges_;
    size_t edgeCount_ = 0;
    std::vector<bool> turned_;
};

// Triangles of a grid quad (i, j): two, counter-clockwise seen from the side the surface
// faces; calls emit(a, b, c) with grid indices.
// Whether a triangle's area is nothing next to its edges: its corners in one place or on a
// line (a sliver another tool would choke on).
inline bool zeroArea(const vm::Float3& p, const vm::Float3& q, const vm::Float3& r) {
    const vm::Float3 a{q.x - p.x, q.y - p.y, q.z - p.z}, b{r.x - p.x, r.y - p.y, r.z - p.z},
        c{r.x - q.x, r.y - q.y, r.z - q.z};
    const vm::Float3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const float longest =
        std::max({a.x * a.x + a.y * a.y + a.z * a.z, b.x * b.x + b.y * b.y + b.z * b.z,
                  c.x * c.x + c.y * c.y + c.z * c.z});
    const float twiceArea = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return !(twiceArea > kZeroArea * longest);
}

// The triangles of a surface's grid of positions, without any of zero area: a quad whose
// usual diagonal would make one (three corners in a line) is split along its other diagonal,
// which keeps the shared edges, so a closed mesh stays closed.
template <class Emit>
void surfaceTriangles(size_t side, bool turned, const vm::Float3* grid, Emit emit) {
    auto triangle = [&](size_t a, size_t b, size_t c) {
        if (zeroArea(grid[a], grid[b], grid[c])) return;
        if (turned)
            emit(a, c, b);
        else
            emit(a, b, c);
    };
    for (size_t j = 0; j + 1 < side; ++j)
        for (size_t i = 0; i + 1 < side; ++i) {
            const size_t a = j * side + i, b = a + 1, c = a + side + 1, d = a + side;
            const bool usualFails =
                zeroArea(grid[a], grid[b], grid[c]) || zeroArea(grid[a], grid[c], grid[d]);
            if (usualFails && !zeroArea(grid[a], grid[b], grid[d]) &&
                !zeroArea(grid[b], grid[c], grid[d])) {
                triangle(a, b, d);
                triangle(b, c, d);
            } else {
                triangle(a, b, c);
                triangle(a, c, d);
            }
        }
}

template <class Emit> void gridTriangles(size_t side, bool turned, Emit emit) {
    for (size_t j = 0; j + 1 < side; ++j)
        for (size_t i = 0; i + 1 < side; ++i) {
            const size_t a = j * side + i, b = a + 1, c = a + side + 1, d = a + side;
            if (turned) {
                emit(a, c, b);
                emit(a, d, c);
            } else {
                emit(a, b, c);
                emit(a, c, d);
            }
        }
}

} // namespace mesh
