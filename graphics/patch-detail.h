// How finely each patch is drawn in a view: a patch whose control points project to a few
// pixels needs fewer than the fixed factor's five segments per edge, and one entirely
// outside the view needs none. A coarser patch uses rows and columns of the same 6 × 6 grid
// of surface points, so every vertex drawn still lies on the surface and a patch never gets
// more segments than the fixed factor.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "model/bezier-surface.h"
#include "model/model.h"

namespace detail {

// Screen pixels per segment: a patch spanning 60 pixels or more gets all five.
inline constexpr float kPixelsPerSegment = 12.0f;

// Segments per edge (1 … 5) for a patch whose projection spans extent pixels.
int segmentsFor(float extentPixels);

// The segments of each patch in a view of width × height pixels, 0 for a patch that is not
// drawn there (hidden, or its control points all outside one side of the view volume). A
// patch drawn a second time mirrored (a symmetry's) gets the finer of its two copies.
// world[0] places the model, world[1] its mirror image.
void patchSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                   int width, int height, std::vector<uint8_t>& segments);

// The same for the listed patches only, updating their entries of segments (as long as the
// model's patches); true when any of them changed.
bool updateSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                    int width, int height, const std::vector<uint32_t>& patches,
                    std::vector<uint8_t>& segments);

// Triangle indices into a patch's 36 grid vertices for n segments per edge (n = 5: the full
// grid; fewer: the grid rows and columns nearest to an even spacing, corners always).
const std::vector<uint32_t>& triangleIndices(int segments);

} // namespace detail
