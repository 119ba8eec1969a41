// The curvature display: Gaussian or mean curvature false-coloured from blue (the scale's low
// end) through green (its middle) to red (its high end). The shaders compute the same colours
// (graphics/nuanceurs: CurvaturePS, BezierCurvaturePS).
#pragma once

#include <algorithm>

#include "core/vector-math.h"

namespace curvature {

enum class Kind { Gaussian = 0, Mean = 1 };

// The values coloured blue and red; those beyond take the end's colour.
struct Scale {
    float low = -1, high = 1;
};

// Where value lies on the scale: 0 at low, 1 at high, clamped.
inline float scaleShare(float value, const Scale& scale) {
    const float span = scale.high - scale.low;
    return span > 0 ? std::clamp((value - scale.low) / span, 0.0f, 1.0f) : 0.5f;
}

// Blue below the middle, green at it, red above: each primary grows over one half.
inline vm::Float3 colourAt(float share) {
    const float red = std::clamp(2 * share - 1, 0.0f, 1.0f);
    const float blue = std::clamp(1 - 2 * share, 0.0f, 1.0f);
    return {red, 1 - red - blue, blue};
}

// What the shaders take (LightConstants' third vector): which of the two values each vertex
// carries (x: 0 Gaussian, 1 mean), the scale's low end (y) and one over its span (z).
inline vm::Vec4 shaderScale(Kind kind, const Scale& scale) {
    const float span = scale.high - scale.low;
    return {kind == Kind::Mean ? 1.0f : 0.0f, scale.low, span > 0 ? 1 / span : 0.0f, 0};
}

} // namespace curvature
