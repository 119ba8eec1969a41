// The curvature of a bicubic patch from its exact first and second derivatives: what the
// curvature display colours and what tells a curvature-continuous join from a tangent one.
// Worked in double: second derivatives of float points lose too much to compare joins.
#pragma once

#include <array>
#include <cstddef>

#include "core/vector-math.h"

namespace bezier {

struct Vec3d {
    double x = 0, y = 0, z = 0;
};

// P and its partial derivatives at (u, v), u along the columns and v along the rows as
// bezier::evaluate takes them.
struct SurfaceDerivatives {
    Vec3d p, du, dv, duu, duv, dvv;
};
SurfaceDerivatives derivativesAt(const std::array<vm::Float3, 16>& controlPoints, double u,
                                 double v);

// The first fundamental form's determinant below this share of its terms' squares: the
// tangents vanish or run parallel (a pole), and curvature has no value there.
inline constexpr double kDegenerateTangents = 1e-10;

// Gaussian K = κ1·κ2 and mean H = (κ1 + κ2) / 2; H's sign follows the normal du × dv.
struct Curvature {
    double gaussian = 0, mean = 0;
    bool defined = false; // false at a pole or a point where the patch folds
};
Curvature curvatureAt(const SurfaceDerivatives& d);
inline Curvature curvatureAt(const std::array<vm::Float3, 16>& controlPoints, double u, double v) {
    return curvatureAt(derivativesAt(controlPoints, u, v));
}

// The normal curvature in the tangent direction nearest to `direction` (its part in the
// tangent plane), with the normal du × dv; nothing defined where curvatureAt is not.
struct NormalCurvature {
    double value = 0;
    Vec3d normal; // unit
    bool defined = false;
};
NormalCurvature normalCurvature(const SurfaceDerivatives& d, Vec3d direction);

// The extremes of both curvatures over a patch, sampled on a grid of samples × samples.
inline constexpr int kCurvatureSamples = 17;
struct CurvatureRange {
    double minGaussian = 0, maxGaussian = 0, minMean = 0, maxMean = 0;
    size_t defined = 0, undefined = 0; // samples with and without a value
};
CurvatureRange patchCurvatureRange(const std::array<vm::Float3, 16>& controlPoints,
                                   int samples = kCurvatureSamples);

} // namespace bezier
