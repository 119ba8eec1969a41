// Geometric tolerances scaled by the size of what is edited, so that a model 1e-6 across and
// one 1e6 across are edited alike (float keeps about seven digits at any size).
#pragma once

#include <cmath>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

// Within this fraction of the size of the patches concerned a point lies on a mirror plane
// (it was typed or snapped there, or read back from six written digits).
inline constexpr float kOnPlaneFraction = 1e-5f;
// Points this fraction of the size apart are at one place.
inline constexpr float kCoincideFraction = 1e-4f;
// A length below this fraction of the size is none: the net collapses there.
inline constexpr float kNoLengthFraction = 1e-6f;

// The diagonal of the box around a patch's sixteen points.
float patchSize(const Model& model, const Model::Patch& patch);
// The largest side of the box around the points.
float extentOf(const Model& model, const Model::Patch& patch);
float extentOf(const Model& model, const std::vector<size_t>& patches);
float extentOf(const std::vector<vm::Float3>& points);

inline bool onPlane(float offset, float extent) {
    return std::fabs(offset) <= kOnPlaneFraction * extent;
}
