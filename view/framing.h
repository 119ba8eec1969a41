// Framing a box as the camera sees it: the box's corners, seen along the camera's current
// direction, span about two thirds of the view's height (of its width when that is the
// tighter), in perspective or orthographically, at any size and anywhere.
#pragma once

#include "core/vector-math.h"
#include "view/orbit-camera.h"

inline constexpr float kFramedFill = 2.0f / 3.0f;

struct Framing {
    vm::Vec4 target; // the middle of the box as the view shows it
    float radius;    // the orbit radius
};

// The target and radius framing the box min–max (in the world) in view 0 of that aspect; a
// perspective eye stays beyond the camera's near plane.
Framing framingOf(const OrbitCamera& camera, vm::Vec4 min, vm::Vec4 max, float aspect);
