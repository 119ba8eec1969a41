// Vertices of the fixed line shapes: the wire sphere and the cube, and the arrow's strokes.
#pragma once

#include <array>

#include "core/vector-math.h"

namespace lines {

inline constexpr int kSphereVertices = 800;
inline constexpr int kCubeVertices = 24;

// Unit sphere, 10 latitude bands × 20 sectors; per cell a piece of a latitude circle and a
// piece of a meridian.
const std::array<vm::Float3, kSphereVertices>& wireSphere();
// The 12 edges of the cube with corners (±1, ±1, ±1).
const std::array<vm::Float3, kCubeVertices>& cube();
// Six vertices, three segments: one head stroke, the shaft, the other head stroke. The head
// strokes are 0.1 long and lie across viewDirection.
std::array<vm::Float3, 6> arrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 viewDirection);

} // namespace lines
