// The grid a patch is drawn with in a view: segments across (along u) and down (along v), each
// a power of two from 1 to 32, kept in one byte a patch. A small patch bent one way only needs
// its segments that way alone. The byte holds log2(across) + 1 in its low four bits and
// log2(down) + 1 in its high four; 0 is a patch not drawn.
#pragma once

#include <algorithm>
#include <cstdint>

namespace detail {

using Grid = uint8_t;

inline constexpr Grid kNoGrid = 0;

constexpr int log2Of(int powerOfTwo) {
    int bits = 0;
    while ((1 << (bits + 1)) <= powerOfTwo)
        ++bits;
    return bits;
}

// across, down ≥ 1, powers of two.
constexpr Grid gridOf(int across, int down) {
    return static_cast<Grid>((log2Of(across) + 1) | ((log2Of(down) + 1) << 4));
}
constexpr Grid squareGrid(int n) {
    return n > 0 ? gridOf(n, n) : kNoGrid;
}

constexpr int across(Grid g) {
    return g == kNoGrid ? 0 : 1 << ((g & 15) - 1);
}
constexpr int down(Grid g) {
    return g == kNoGrid ? 0 : 1 << ((g >> 4) - 1);
}
constexpr int longestSide(Grid g) {
    return std::max(across(g), down(g));
}

// The grid's vertices: (across + 1) × (down + 1), none for no grid.
constexpr uint32_t gridVertices(Grid g) {
    return g == kNoGrid ? 0 : static_cast<uint32_t>((across(g) + 1) * (down(g) + 1));
}

// Each side at most cap segments.
constexpr Grid cappedGrid(Grid g, int cap) {
    return g == kNoGrid ? kNoGrid : gridOf(std::min(across(g), cap), std::min(down(g), cap));
}

// The finer of two grids on each side (a patch drawn twice, mirrored, needs both).
constexpr Grid finerGrid(Grid a, Grid b) {
    if (a == kNoGrid) return b;
    if (b == kNoGrid) return a;
    return gridOf(std::max(across(a), across(b)), std::max(down(a), down(b)));
}

} // namespace detail
