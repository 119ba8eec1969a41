// Bicubic Bezier surfaces evaluated on the CPU, with the parameterisation the domain shader
// uses: u runs along a patch's columns, v along its rows, and
// P(u, v) = Σr Σc B_r(v) · B_c(u) · P[4r + c] with the cubic Bernstein polynomials B.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/vector-math.h"
#include "model/model.h"

namespace bezier {

// The tessellation factor of every edge and of the inside: a 5 × 5 grid of quads.
inline constexpr int kFactor = 5;
inline constexpr int kGridVertices = (kFactor + 1) * (kFactor + 1); // 36
inline constexpr int kTriangleIndices = kFactor * kFactor * 6;      // 150

// The four cubic Bernstein weights at t (inline: the join measures ask for them by the
// hundred thousand).
inline std::array<float, 4> bernstein(float t) {
    const float s = 1.0f - t;
    return {s * s * s, 3.0f * t * s * s, 3.0f * t * t * s, t * t * t};
}
vm::Float3 evaluate(const std::array<vm::Float3, 16>& controlPoints, float u, float v);
// The control points of a patch, row-major.
std::array<vm::Float3, 16> controlPoints(const Model& model, const Model::Patch& patch);
// Grid vertex (i, j) is at u = i / 5, v = j / 5, stored at j·6 + i.
void tessellate(const std::array<vm::Float3, 16>& controlPoints, vm::Float3* out36);
// The derivatives of the cubic Bernstein weights at t.
inline std::array<float, 4> bernsteinDerivative(float t) {
    const float s = 1.0f - t;
    return {-3.0f * s * s, 3.0f * s * s - 6.0f * t * s, 6.0f * t * s - 3.0f * t * t, 3.0f * t * t};
}
// A normal whose cross product is smaller than this share of the larger derivative's square
// (the sine of their angle times the ratio of their sizes) has no direction.
inline constexpr float kDegenerateNormal = 1e-4f;
// The unit normal of the derivatives du and dv, or nothing where they vanish or run parallel.
std::optional<vm::Float3> unitNormal(const vm::Float3& du, const vm::Float3& dv);
// The unit normal at (u, v): ∂P/∂u × ∂P/∂v normalised. Where that vanishes (a collapsed
// edge or corner) the normal is taken a little way inside the patch; (0, 1, 0) when the
// whole patch is degenerate.
vm::Float3 normalAt(const std::array<vm::Float3, 16>& controlPoints, float u, float v);
// The normals of the 36 grid vertices, stored as tessellate stores the vertices.
void tessellateNormals(const std::array<vm::Float3, 16>& controlPoints, vm::Float3* out36);
// The (across + 1) × (down + 1) grid of surface points at u = i / across, v = j / down
// (stored at j·(across + 1) + i) and their unit normals (as normalAt gives them), for at least
// one segment each way.
void tessellateGrid(const std::array<vm::Float3, 16>& controlPoints, int across, int down,
                    vm::Float3* vertices, vm::Float3* normals);
// The parameters (u, v) of the surface's point nearest to at (a coarse grid, then a finer one
// around its best point): where the user pointed on a patch.
void nearestParameters(const std::array<vm::Float3, 16>& controlPoints, vm::Float3 at, float& u,
                       float& v);
// Two triangles per grid quad, indices into the 36 grid vertices.
const std::array<uint32_t, kTriangleIndices>& triangleIndices();

} // namespace bezier
