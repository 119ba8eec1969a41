// Arithmetic on pool points (Float3) for the operations that build new control points.
#pragma once

#include <cmath>

#include "core/vector-math.h"

namespace f3 {

inline vm::Float3 add(vm::Float3 a, vm::Float3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline vm::Float3 sub(vm::Float3 a, vm::Float3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline vm::Float3 scale(vm::Float3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline vm::Float3 lerp(vm::Float3 a, vm::Float3 b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}
inline float dot(vm::Float3 a, vm::Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline float length(vm::Float3 a) {
    return std::sqrt(dot(a, a));
}

} // namespace f3
