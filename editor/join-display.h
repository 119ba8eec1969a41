// The joins display: every edge two shown patches share (and every side of a symmetry on its
// mirror plane) as a line shaded by how smoothly the surfaces meet there.
#pragma once

#include <array>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

// Green within 1° (tangent-continuous), then yellow to red as the angle grows.
inline constexpr int kJoinShades = 5;
inline constexpr float kJoinShadeLimits[kJoinShades - 1] = {1, 5, 15, 45}; // degrees
inline constexpr vm::Vec4 kJoinShadeColours[kJoinShades] = {{0.1f, 0.9f, 0.2f, 1},
                                                            {0.7f, 0.9f, 0.1f, 1},
                                                            {1, 0.85f, 0.1f, 1},
                                                            {1, 0.5f, 0.1f, 1},
                                                            {1, 0.1f, 0.1f, 1}};
int joinShade(float degrees);

// Line lists (two points a segment) of the edges of each shade, each edge following its
// curve in eight segments, drawn twice just off the surface on either side.
struct JoinLines {
    std::array<std::vector<vm::Float3>, kJoinShades> shades;
    float largest = 0; // the largest angle of all
    size_t edges = 0;
};
JoinLines joinLines(const Model& model);
