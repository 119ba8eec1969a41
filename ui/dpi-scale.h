// Lengths of the layout are given for 96 dpi (100 %) and scaled to the DPI of the window
// they are used in.
#pragma once

#include <cstdint>

inline constexpr int kDefaultDpi = 96;

// A 96-dpi length at the given DPI, rounded as MulDiv rounds (halves away from zero), so
// that the layout and the lengths Windows scales itself agree to the pixel.
constexpr int scaledForDpi(int length, int dpi) {
    const int64_t product = static_cast<int64_t>(length) * dpi;
    const int64_t half = kDefaultDpi / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDefaultDpi
                                         : (product - half) / kDefaultDpi);
}
