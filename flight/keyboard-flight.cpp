#include "flight/keyboard-flight.h"

#include <algorithm>

namespace flight {

namespace {

// Virtual-key codes (the portable core has no Windows header).
enum : unsigned {
    kLeft = 0x25,
    kUp = 0x26,
    kRight = 0x27,
    kDown = 0x28,
    kPageUp = 0x21,
    kPageDown = 0x22,
    kQ = 'Q',
    kE = 'E',
};

// value moved towards target by at most step.
float towards(float value, float target, float step) {
    return value < target ? std::min(value + step, target) : std::max(value - step, target);
}

// −0.5, 0 or +0.5 for a pair of opposite keys (both or neither: the centre).
float target(bool negative, bool positive) {
    return negative == positive ? 0.0f : positive ? 0.5f : -0.5f;
}

} // namespace

bool FlightKeys::set(unsigned virtualKey, bool isDown) {
    switch (virtualKey & 0xFF) {
    case kUp:
        up = isDown;
        return true;
    case kDown:
        down = isDown;
        return true;
    case kLeft:
        left = isDown;
        return true;
    case kRight:
        right = isDown;
        return true;
    case kQ:
        yawLeft = isDown;
        return true;
    case kE:
        yawRight = isDown;
        return true;
    case kPageUp:
        throttleUp = isDown;
        return true;
    case kPageDown:
        throttleDown = isDown;
        return true;
    default:
        return false;
    }
}

void KeyboardFlight::update(const FlightKeys& keys, float dt) {
    if (!(dt > 0)) return;
    const float step = kRampPerSecond * dt;
    controls_.x = towards(controls_.x, target(keys.left, keys.right), step);
    controls_.y = towards(controls_.y, target(keys.up, keys.down), step);
    controls_.rz = towards(controls_.rz, target(keys.yawLeft, keys.yawRight), step);
    if (keys.throttleUp != keys.throttleDown)
        controls_.throttle = std::clamp(controls_.throttle + (keys.throttleUp ? 1.0f : -1.0f) *
                                                                 kThrottlePerSecond * dt,
                                        -0.5f, 0.5f);
}

} // namespace flight
