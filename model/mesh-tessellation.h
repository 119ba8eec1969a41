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

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

namespace mesh {

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
