// The head-up display's marker: a line drawn into its 256 × 224 texture of 16-bit texels
// (R in the low byte), from the centre towards the planet.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector-math.h"

namespace hud {

inline constexpr int kWidth = 256, kHeight = 224;
inline constexpr int kCentreX = 128, kCentreY = 112;

inline constexpr int kReach = 100; // texels from the centre to the edge of the marker's disc

struct Marker {
    int x = kCentreX, y = kCentreY; // the line's end
    bool behind = false;            // the planet is behind the ship: a ring at the end
};

// The marker for the planet's direction h (unit length, in the ship's frame) as the pilot
// sees it: the ship looks along +z with +y up, so its +x is on the left of the view, and the
// panel's texture runs left to right across the view: a planet to the left gives a marker to
// the left. Ahead, the end lies up to 100 texels out in the planet's direction; behind, at
// the edge (100 texels) in that direction, or straight down when it is right behind.
Marker marker(vm::Vec4 h);

// The line from the centre texel to (x, y): 1 on the line's texels, 255 on the texel beside
// each step. Texels outside the texture are left alone.
void drawMarker(std::vector<uint16_t>& texels, int x, int y);
// The marker's line, and a ring of radius 6 around its end when the planet is behind.
void drawMarker(std::vector<uint16_t>& texels, const Marker& m);

} // namespace hud
