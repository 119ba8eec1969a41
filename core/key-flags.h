// Keys the camera and shortcuts follow, and the display flags (the planet, its sphere mesh,
// the wire sphere) that View's Planet, Sphere and Wire Sphere switch.
#pragma once

#include <cstdint>

struct KeyFlags {
    // Virtual-key codes in flag order: W, A, D, S, R, F, Shift, Control.
    static constexpr uint8_t kCodes[8] = {0x57, 0x41, 0x44, 0x53, 0x52, 0x46, 0x10, 0x11};
    enum Index { W, A, D, S, R, F, Shift, Control };

    uint8_t down[8] = {};

    // Sets or clears the flag of the first key matching the low byte of the key code;
    // false when the key is not one of the eight.
    bool set(unsigned keyCode, bool isDown) {
        for (int i = 0; i < 8; ++i)
            if (kCodes[i] == (keyCode & 0xFF)) {
                down[i] = isDown ? 1 : 0;
                return true;
            }
        return false;
    }
    void clear() {
        for (uint8_t& d : down)
            d = 0;
    }
};

struct DisplayFlags {
    bool planetVisible = true;
    bool sphereMeshVisible = false;
    bool wireSphereVisible = false;
};
