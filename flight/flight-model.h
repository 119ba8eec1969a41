// The ship's flight: stick and throttle turn into body rates and thrust, the planet pulls by
// an inverse-square law, and the ship moves.
#pragma once

#include <cstdint>

#include "core/vector-math.h"
#include "flight/vaisseau.h"

namespace flight {

inline constexpr float kGravitationalParameter = 3.98866e14f; // μ
inline constexpr float kRateLimit = 4.0f;                     // rad/s per component
inline constexpr float kStickGain = 2.0f;                     // rad/s² at full deflection
inline constexpr float kThrust = 199.0f;                      // velocity units per tick
inline constexpr float kMinimumSpan = 0.01f;

// The four controller values flight uses, with the controller's axis range. A program with
// no controller attached sees it centred.
struct ControllerInput {
    bool attached = false;
    int32_t x = 0, y = 0, rz = 0, slider = 0;
    float rangeMin = 0, rangeMax = 0;
};

// −0.5 … 0.5 across the range (0 for a controller that is not there).
float normalised(const ControllerInput& input, int32_t value);

// What the pilot asks for, each −0.5 … 0.5 in the stick's own terms: x rolls (right is +),
// y pitches (pushed forward is −, nose down), rz yaws (twisted right is +), throttle thrusts
// along the ship's z (forward is +; the controller's slider at its minimum gives +0.5).
struct Controls {
    float x = 0, y = 0, rz = 0, throttle = 0;
};

// Around the stick's centre a dead zone of 5 % of its span reads 0, so a resting controller
// does not turn the ship; the rest of the travel is stretched to keep the full range.
inline constexpr float kDeadZone = 0.05f;
float withDeadZone(float value);
// The controller's values as controls, with the dead zone.
Controls controllerControls(const ControllerInput& input);
// Keys and controller together, each sum held to −0.5 … 0.5.
Controls combined(const Controls& a, const Controls& b);

// One tick of flight: damping and stick on the body rates (clamped to ±4 rad/s), the turn
// in the ship's own frame, gravity towards the planet's centre, thrust along the ship's z.
void flightStep(Vaisseau& ship, float dt, const Controls& controls);
inline void flightStep(Vaisseau& ship, float dt, const ControllerInput& input) {
    flightStep(ship, dt, controllerControls(input));
}

} // namespace flight
