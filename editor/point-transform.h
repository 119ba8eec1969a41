// Moving, turning and scaling chosen points about a pivot, freely or along one axis, with
// the snapping steps the tools use, and the mirror plane a symmetry's halves meet on kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
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
// The offset with only the axis' component (all of it when free).
vm::Vec4 alongAxis(vm::Vec4 offset, Axis axis);

// Per pool point, whether it lies on the mirror plane (x = 0, within 1e-5) of a symmetry that
// uses it: there the two halves meet, and it must stay on the plane.
std::vector<uint8_t> onMirrorPlane(const Model& model);

// Puts points[k] where t takes from[k] (the positions at the gesture's start, so that a drag
// never drifts). Points flagged in mirrorPlane keep x = 0. Returns how many were held on it.
size_t transformPoints(Model& model, const std::vector<uint32_t>& points,
                       const std::vector<vm::Float3>& from, const PointTransform& t,
                       const std::vector<uint8_t>& mirrorPlane);

// The transforms the shape window's transform row offers, in its order: a move by (dx, dy,
// dz), a turn about an axis through the pivot by an angle in degrees (right-hand rule), a
// scale by a factor (uniform, or along one axis).
// The last choice is no transform: it sets the pivot the others turn and scale about.
enum class TypedTransform {
    Move,
    TurnX,
    TurnY,
    TurnZ,
    Scale,
    ScaleX,
    ScaleY,
    ScaleZ,
    Pivot,
    Count
};
inline constexpr const char* kTypedTransformNames[static_cast<int>(TypedTransform::Count)] = {
    "move by dx dy dz",
    "turn about x by (degrees)",
    "turn about y by (degrees)",
    "turn about z by (degrees)",
    "scale by",
    "scale along x by",
    "scale along y by",
    "scale along z by",
    "pivot at x y z",
};

// The transform the typed fields make about pivot. A move takes the three fields (an empty
// one is 0); a turn or a scale its first field; Pivot takes the three as the pivot itself. Nothing
// when a field it takes is not a finite number (or a needed one is empty): *refused is that field's
// index then.
std::optional<PointTransform> typedTransform(TypedTransform kind, const std::string fields[3],
                                             vm::Vec4 pivot, int* refused);
// Whether t keeps every one of the points within ±limit on every axis.
bool transformWithin(const Model& model, const std::vector<uint32_t>& points,
                     const PointTransform& t, float limit);
