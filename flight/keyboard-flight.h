// Flying from the keyboard: arrows pitch (Up pushes the nose down, as a stick pushed
// forward) and roll, Q and E yaw, Page Up and Page Down open and close the throttle,
// Backspace cuts it. Each key moves its control towards full deflection over a short ramp
// and back to the centre when released, so the ship turns smoothly; the throttle stays
// where it was left.
#pragma once

#include "flight/flight-model.h"

namespace flight {

struct FlightKeys {
    bool up = false, down = false, left = false, right = false;
    bool yawLeft = false, yawRight = false;
    bool throttleUp = false, throttleDown = false;

    // Sets the key's state from a virtual-key code; false for a key that is not one of them.
    bool set(unsigned virtualKey, bool isDown);
    void clear() { *this = FlightKeys{}; }
};

class KeyboardFlight {
  public:
    static constexpr float kRampPerSecond = 2.5f;     // centre to full deflection in 0.2 s
    static constexpr float kThrottlePerSecond = 0.5f; // closed to open in 1 s

    void update(const FlightKeys& keys, float dt);
    void cutThrottle() { controls_.throttle = 0; }
    void reset() { controls_ = {}; }
    const Controls& controls() const { return controls_; }

  private:
    Controls controls_;
};

} // namespace flight
