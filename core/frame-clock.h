// Frame time step from performance-counter readings.
#pragma once

#include <cstdint>

// Seconds between two counter readings: the difference in 64-bit integers, each operand
// then in single precision. No clamp; equal readings give 0.
inline float frameSeconds(int64_t now, int64_t last, int64_t frequency) {
    return static_cast<float>(now - last) / static_cast<float>(frequency);
}
