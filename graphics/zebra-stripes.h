// Zebra stripes: parallel bands of light reflected in the surface. A band's place on the
// surface depends on the normal alone, so bands run on unbroken across a curvature-
// continuous join, meet at an angle across a tangent-continuous one and jump at a crease.
// The shaders compute the same function (graphics/nuanceurs: StripeValue).
#pragma once

#include <cmath>

#include "core/vector-math.h"

namespace zebra {

// Bands across the reflected view: this many light bands per unit of the reflection's
// component along the stripe direction (the reflection is a unit vector, so about twice
// this many bands across a half sphere of normals).
inline constexpr float kDefaultBands = 8;
inline constexpr float kFewestBands = 2, kMostBands = 64;

struct Stripes {
    vm::Float3 direction{0, 1, 0}; // unit; the bands run across it
    float bands = kDefaultBands;
};

// Where the view reflects in a surface of unit normal n, seen along unit `view`: a phase
// that grows by one from one band to the next.
inline float stripePhase(vm::Float3 n, vm::Float3 view, const Stripes& stripes) {
    const float d = view.x * n.x + view.y * n.y + view.z * n.z;
    const vm::Float3 r = {view.x - 2 * d * n.x, view.y - 2 * d * n.y, view.z - 2 * d * n.z};
    const vm::Float3 s = stripes.direction;
    return stripes.bands * (r.x * s.x + r.y * s.y + r.z * s.z);
}

// The stripes' numbers the keyboard steps through, and the turn of their direction a step.
inline constexpr float kBandSteps[] = {4, 8, 16, 32};
inline constexpr int kTurnDegrees = 30;
inline constexpr int kTurns = 180 / kTurnDegrees; // a half turn gives the same bands again

// The bands as a view shows them: across the camera's up direction turned by turn steps
// towards its right. view is the camera's view matrix (row vectors: its columns 0 and 1
// hold the camera's right and up in world coordinates). w: the bands.
inline vm::Vec4 stripesFor(const vm::Mat4& view, int turn, float bands) {
    const float angle = static_cast<float>(turn * kTurnDegrees) * vm::kPi / 180;
    const float c = std::cos(angle), s = std::sin(angle);
    return {view.m[0][1] * c + view.m[0][0] * s, view.m[1][1] * c + view.m[1][0] * s,
            view.m[2][1] * c + view.m[2][0] * s, bands};
}

} // namespace zebra
