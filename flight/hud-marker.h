// The head-up display's marker: a line drawn into its 256 × 224 texture of 16-bit texels
// (R in the low byte), from the centre towards the planet.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector-math.h"

namespace hud {

inline constexpr int kWidth = 256, kHeight = 224;
inline constexpr int kCentreX = 128, kCentreY = 112;

// The marker's end for the planet's direction h (unit length, in the ship's frame): up to
// 100 texels from the centre, x to the texture's right, y down it.
void markerEnd(vm::Vec4 h, int& x, int& y);

// The line from the centre texel to (x, y): 1 on the line's texels, 255 on the texel beside
// each step. Texels outside the texture are left alone.
void drawMarker(std::vector<uint16_t>& texels, int x, int y);

} // namespace hud
