// Snapping while Ctrl is held: positions to a grid whose step is remembered (snapStep in
// session.ini, 0.1 by default), angles to 15°.
#pragma once

#include "core/vector-math.h"

class SettingsFile;

namespace snap {

inline constexpr float kDefaultStep = 0.1f;
inline constexpr float kAngle = 0.2617994f; // 15°

// The grid step remembered in settings; the default for a missing, non-finite, non-positive
// or absurdly large value.
float stepFrom(const SettingsFile& settings);

// The nearest multiple of step (v itself for a step that is not positive).
float toGrid(float v, float step);
vm::Float3 toGrid(vm::Float3 p, float step);
vm::Vec4 toGrid(vm::Vec4 p, float step); // x, y and z; w is kept
// The nearest multiple of 15°, in [0, 2π).
float toAngle(float a);

} // namespace snap
