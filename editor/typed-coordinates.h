// Coordinates typed into the shape window's x, y and z boxes: what they show (a point of the
// pool, or the centre of a patch chosen in the tree) and how a typed value moves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/vector-math.h"
#include "editor/point-transform.h"
#include "model/model.h"
#include "model/working-range.h"

struct CoordinateSubject {
    enum class Kind { None, Point, Patch, Points };
    CoordinateSubject() = default;
    CoordinateSubject(Kind k, size_t i, std::vector<uint32_t> chosen = {})
        : kind(k), index(i), points(std::move(chosen)) {}
    Kind kind = Kind::None;
    size_t index = 0;
    std::vector<uint32_t> points; // Points: the chosen points
};

// A finite number, blanks around it allowed ("1.5", " -2e-3 "); nothing for anything else
// (empty text, "abc", "1.5x", "nan", "inf", a number beyond float's range).
std::optional<float> parseCoordinate(std::string_view text);

// Where the subject is: the point, the mean of the patch's sixteen control points, or the
// middle of the chosen points' box. Nothing when it names nothing that exists.
std::optional<vm::Float3> subjectPosition(const Model& model, const CoordinateSubject& subject);

// A patch's opacity, as the shape window's slider gives it: 0 clear, 1 opaque.
inline constexpr float kLeastOpacity = 0.0f;
inline constexpr float kMostOpacity = 1.0f;
// Whether moving the subject so that its coordinate on axis becomes value keeps every point
// it moves within the working range.
bool moveWithinRange(const Model& model, const CoordinateSubject& subject, int axis, float value);

// Moves the subject so that its coordinate on axis (0 x, 1 y, 2 z) becomes value: the point
// itself, or every distinct control point of the patch, or every chosen point, by the same
// difference (points on a symmetry's mirror plane stay on it). Returns the points
// that moved (none when the value is already there or the subject does not exist).
std::vector<uint32_t> moveSubjectAxis(Model& model, const CoordinateSubject& subject, int axis,
                                      float value);

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
