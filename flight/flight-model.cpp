#include "flight/flight-model.h"

#include <algorithm>

#include "graphics/planet-geometry.h"

namespace flight {

float normalised(const ControllerInput& input, int32_t value) {
    if (!input.attached) return 0;
    const float span = std::max(kMinimumSpan, input.rangeMax - input.rangeMin);
    return (static_cast<float>(value) - input.rangeMin) / span - 0.5f;
}

void flightStep(Vaisseau& ship, float dt, const ControllerInput& input) {
    const vm::Vec4 d = planet::kCentre - ship.position;
    const float r = vm::length3(d);
    const vm::Mat4 m = vm::rotationQuaternion(ship.orientation);

    const vm::Vec4 u{-2 * normalised(input, input.y), -2 * normalised(input, input.rz),
                     2 * normalised(input, input.x), 0};
    vm::Vec4& w = ship.angularVelocity;
    w = w - w * dt + u * (kStickGain * dt);
    w = {std::clamp(w.x, -kRateLimit, kRateLimit), std::clamp(w.y, -kRateLimit, kRateLimit),
         std::clamp(w.z, -kRateLimit, kRateLimit), 0};

    // The step's turn acts in the ship's own frame: orientation ⊗ dq.
    const vm::Quat dq = vm::quaternionRollPitchYaw(w.x * dt, w.y * dt, w.z * dt);
    ship.orientation = vm::quaternionMultiply(dq, ship.orientation);

    if (r > 0) ship.velocity = ship.velocity + d * (kGravitationalParameter / (r * r) * dt / r);

    const float thrust = -2 * kThrust * normalised(input, input.slider);
    ship.velocity = ship.velocity + vm::Vec4{m[2][0], m[2][1], m[2][2], 0} * thrust;
}

} // namespace flight
