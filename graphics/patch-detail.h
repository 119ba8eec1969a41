// How finely each patch is drawn in a view: as many segments a side as its size on the screen
// needs (about one per 8 pixels, in powers of two up to 32; fewer for a small patch that is
// nearly flat, or flat one way), none outside the view. Powers
// of two keep a patch's level while it grows or shrinks less than twofold (an orbit evaluates
// few patches again), and put a coarser neighbour's edge points on the finer one's.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "graphics/patch-grid.h"
#include "model/bezier-surface.h"
#include "model/model.h"

namespace detail {

// Screen pixels per segment at most: a patch spanning 256 pixels or more gets all 32.
inline constexpr float kPixelsPerSegment = 8.0f;
// The wireframe display shows the segments as lines: sparser, so that they read as curves
// on the surface rather than a filled mesh.
inline constexpr float kWireframePixelsPerSegment = 32.0f;
inline constexpr int kMaxSegments = 32;
// Grid vertices of every patch in a view together, at most: past it the finest levels are
// lowered (a heap of large patches on top of each other must not exhaust memory).
inline constexpr size_t kVertexBudget = size_t{1} << 22;
// A patch's control net is drawn where the patch has at least this many segments (it spans
// more than 16 pixels): on a smaller patch its lines are not told apart.
inline constexpr int kNetSegments = 4;

// A patch spanning at most this many segments' worth of pixels is drawn more coarsely where it
// is flat enough, on each side: its grid then strays from the surface by at most kFlatPixels.
// Small patches are most of a large model's triangles, and most of them are nearly flat at
// their size.
inline constexpr int kFlatTestSegments = 2;
inline constexpr float kFlatPixels = 0.5f;

// Segments per side (1, 2, 4 … 32) for a patch whose projection spans extent pixels.
int segmentsFor(float extentPixels, float pixelsPerSegment = kPixelsPerSegment);
// The grid of each patch in a view of width × height pixels, kNoGrid for a patch that is not
// drawn there (hidden, or its control points all outside one side of the view volume). A
// patch drawn a second time mirrored (a symmetry's) gets the finer of its two copies.
// world[0] places the model, world[1] its mirror image. Within the vertex budget.
void patchSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                   int width, int height, std::vector<Grid>& grids,
                   float pixelsPerSegment = kPixelsPerSegment);

// The same for the listed patches only, updating their entries of grids (as long as the
// model's patches); true when any of them changed.
bool updateSegments(const Model& model, const vm::Mat4 world[2], const vm::Mat4& viewProjection,
                    int width, int height, const std::vector<uint32_t>& patches,
                    std::vector<Grid>& grids, float pixelsPerSegment = kPixelsPerSegment);

// Lowers the finest levels until every patch's grid together fits in budget vertices.
void keepWithin(size_t budget, std::vector<Grid>& grids);

// Triangle indices into a grid's vertices, stored row by row along u: (across + 1) a row.
const std::vector<uint32_t>& triangleIndices(Grid grid);

} // namespace detail
