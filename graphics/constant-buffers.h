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

// Hull b1: each edge gets one segment per pixelsPerSegment of its length on the screen, at
// most maxFactor; the view's half width and height in pixels place the points on it.
struct TessellationConstants {
    float maxFactor = 64.0f;
    float pixelsPerSegment = 8.0f;
    float halfWidth = 0, halfHeight = 0;
};
static_assert(sizeof(TessellationConstants) == 16);
