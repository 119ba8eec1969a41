// Constant-buffer contents, laid out as the shaders read them.
#pragma once

#include "core/vector-math.h"

// Vertex, hull and domain b0: world then view × projection, both transposed for the shaders'
// default column-major packing.
struct TransformConstants {
    vm::Mat4 world;
    vm::Mat4 viewProjection;
};
static_assert(sizeof(TransformConstants) == 128);

// Pixel b1: RGBA colour; alpha is the opacity.
struct ColourConstants {
    vm::Vec4 colour;
};
static_assert(sizeof(ColourConstants) == 16);

// Hull b1: x is the tessellation factor.
struct TessellationConstants {
    float factor = 5.0f;
    float unused[3] = {};
};
static_assert(sizeof(TessellationConstants) == 16);
