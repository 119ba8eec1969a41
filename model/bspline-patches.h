// A non-rational B-spline surface of degree 3 × 3 cut exactly into its bicubic Bezier
// patches: every breakpoint of its knot vectors inside the parameter range (and the range's
// ends) is made a triple knot, all of a direction's knots inserted in one pass (knot
// refinement, time linear in the patches made), and each span's 4 × 4 points are a patch.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/vector-math.h"

// The most patches one surface may make: a 100,000-patch model as one surface passes twice over,
// while a small hostile file (a few poles named over and over) cannot fill the memory.
inline constexpr size_t kMostPatchesPerSurface = size_t{1} << 18;

struct BSplineSurface {
    // The points by u first: points[iu * countV + iv], countU × countV of them.
    int countU = 0, countV = 0;
    std::vector<std::array<double, 3>> points;
    // The full knot vectors (each knot repeated by its multiplicity): count + 4 values each.
    std::vector<double> knotsU, knotsV;
    // The part of the surface wanted: within [knotsU[3], knotsU[countU]] and likewise in v.
    double u0 = 0, u1 = 1, v0 = 0, v1 = 1;
};

// Empty, with why set, when the surface is not one of degree 3 × 3 (point counts and knot
// counts that do not agree, knots that decrease, a range outside the knots, no span) or
// would make more than kMostPatchesPerSurface patches.
// Patches are row-major as the model keeps them: entry 4·r + c is column c along u, row r
// along v.
std::vector<std::array<vm::Float3, 16>> bezierPatches(const BSplineSurface& surface,
                                                      std::string& why);
