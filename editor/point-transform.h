// Moving, turning and scaling chosen points about a pivot, freely or along one axis, with
// the snapping steps the tools use, and the mirror plane a symmetry's halves meet on kept.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

enum class Axis { Free, X, Y, Z };

struct PointTransform {
    enum class Kind { Move, Rotate, Scale };
    Kind kind = Kind::Move;
    Axis axis = Axis::Free; // Move: only along it; Rotate: about it (Free: the vertical);
                            // Scale: only along it (Free: uniform)
    vm::Vec4 pivot{0, 0, 0, 1};
    vm::Vec4 offset{}; // Move
    float angle = 0;   // Rotate, radians, by the right-hand rule about the axis
    float factor = 1;  // Scale
};

// The change as a matrix (row vectors, as the rest of the program): about the pivot.
vm::Mat4 transformMatrix(const PointTransform& t);

// The snapping steps: moves to the grid step, rotations to 15°, scale factors to 0.1.
inline constexpr float kAngleStep = vm::kPi / 12;
inline constexpr float kFactorStep = 0.1f;
float snapAngle(float angle);
float snapFactor(float factor);
// The axis' unit vector (w 0); zero when free.
vm::Vec4 unitAlong(Axis axis);
// Turns the vertical onto the axis (identity when free or y), for drawing about it: a cyclic
// exchange of the coordinates, so a turn keeps its sense.
vm::Mat4 axisFrame(Axis axis);
// The offset with only the axis' component (all of it when free).
vm::Vec4 alongAxis(vm::Vec4 offset, Axis axis);

// Per pool point, whether it lies on the mirror plane (x = 0, within kOnPlaneFraction of the
// size of a symmetry patch that uses it): there the two halves meet, and it must stay on it.
std::vector<uint8_t> onMirrorPlane(const Model& model);

// Puts points[k] where t takes from[k] (the positions at the gesture's start, so that a drag
// never drifts). Points flagged in mirrorPlane keep x = 0. Returns how many were held on it.
size_t transformPoints(Model& model, const std::vector<uint32_t>& points,
                       const std::vector<vm::Float3>& from, const PointTransform& t,
                       const std::vector<uint8_t>& mirrorPlane);

// Whether t keeps every one of the points within ±limit on every axis.
bool transformWithin(const Model& model, const std::vector<uint32_t>& points,
                     const PointTransform& t, float limit);
