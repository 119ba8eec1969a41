// The planet's geometry: the textured unit sphere, the camera-facing quad that stands in
// for it, and where that quad goes.
#pragma once

#include <array>
#include <vector>

#include "core/vector-math.h"

namespace planet {

inline constexpr float kRadius = 6051500.0f;
inline const vm::Vec4 kCentre{0, 1, 18000000, 0}; // also the ship's centre of gravity
inline constexpr int kBands = 160, kSectors = 260;
inline constexpr size_t kMeshVertices = 6u * kBands * kSectors; // 249 600

struct Vertex {
    float x, y, z;
    float u, v;
};

// Cell (band k, sector i) is six vertices at 6·(160·i + k): two triangles, south edge first;
// u runs from 0.5 down to −0.5 around the sphere, v from 1 at the south pole to 0 at the north.
std::vector<Vertex> sphereMesh();

// Triangle strip across the silhouette disc; texture coordinates are −1..1 across it.
inline constexpr std::array<Vertex, 4> kImpostorQuad = {
    {{-1, 1, 0, -1, 1}, {-1, -1, 0, -1, -1}, {1, 1, 0, 1, 1}, {1, -1, 0, 1, -1}}};

// What the impostor's pixel shader reads at b0 (576 bytes).
struct Constants {
    float rotationTransposed[16];
    float identity[16];
    float silhouetteRadius; // K
    float distance;         // r
    float padding[110];
};
static_assert(sizeof(Constants) == 576);

struct Impostor {
    vm::Mat4 world; // diag(K, K, K, 1) × frame
    Constants constants;
};

// The quad centred on the planet, facing the world origin, turned by the view so that its
// second axis follows the screen's; radius the planet's.
Impostor impostor(const vm::Mat4& view, float radius = kRadius);

} // namespace planet
