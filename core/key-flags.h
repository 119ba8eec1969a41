// Keys the camera and shortcuts follow, and the display flags the H, J and K keys toggle.
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
        for (uint8_t& d : down) d = 0;
    }
};

struct DisplayFlags {
    bool planetVisible = true;
    bool sphereMeshVisible = false;
    bool wireSphereVisible = false;

    // Key releases of H, J and K toggle the planet, its sphere mesh and the wire sphere.
    bool toggleForKey(unsigned keyCode) {
        switch (keyCode & 0xFF) {
        case 'H': planetVisible = !planetVisible; return true;
        case 'J': sphereMeshVisible = !sphereMeshVisible; return true;
        case 'K': wireSphereVisible = !wireSphereVisible; return true;
        default: return false;
        }
    }
};
