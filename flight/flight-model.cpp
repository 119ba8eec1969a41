#include "flight/flight-model.h"

#include <algorithm>
#include <cmath>

#include "graphics/planet-geometry.h"

namespace flight {

float normalised(const ControllerInput& input, int32_t value) {
    if (!input.attached) return 0;
    const float span = std::max(kMinimumSpan, input.rangeMax - input.rangeMin);
    return (static_cast<float>(value) - input.rangeMin) / span - 0.5f;
}

float withDeadZone(float value) {
    const float magnitude = std::fabs(value);
    if (!(magnitude > kDeadZone)) return 0; // NaN too
    const float stretched = (magnitude - kDeadZone) / (0.5f - kDeadZone) * 0.5f;
    return std::copysign(stretched, value);
}

Controls controllerControls(const ControllerInput& input) {
    Controls c;
    c.x = withDeadZone(normalised(input, input.x));
    c.y = withDeadZone(normalised(input, input.y));
    c.rz = withDeadZone(normalised(input, input.rz));
    c.throttle = -withDeadZone(normalised(input, input.slider));
    return c;
}

Controls combined(const Controls& a, const Controls& b) {
    auto sum = [](float p, float q) { return std::clamp(p + q, -0.5f, 0.5f); };
    return {sum(a.x, b.x), sum(a.y, b.y), sum(a.rz, b.rz), sum(a.throttle, b.throttle)};
}

void flightStep(Vaisseau& ship, float dt, const Controls& controls) {
    const vm::Vec4 d = planet::kCentre - ship.position;
    const float r = vm::length3(d);
    const vm::Mat4 m = vm::rotationQuaternion(ship.orientation);

    const vm::Vec4 u{-2 * controls.y, -2 * controls.rz, 2 * controls.x, 0};
    vm::Vec4& w = ship.angularVelocity;
    w = w - w * dt + u * (kStickGain * dt);
    w = {std::clamp(w.x, -kRateLimit, kRateLimit), std::clamp(w.y, -kRateLimit, kRateLimit),
         std::clamp(w.z, -kRateLimit, kRateLimit), 0};

    // The step's turn acts in the ship's own frame: orientation ⊗ dq.
    const vm::Quat dq = vm::quaternionRollPitchYaw(w.x * dt, w.y * dt, w.z * dt);
    ship.orientation = vm::quaternionMultiply(dq, ship.orientation);

    if (r > 0) ship.velocity = ship.velocity + d * (kGravitationalParameter / (r * r) * dt / r);

    const float thrust = 2 * kThrust * controls.throttle;
    ship.velocity = ship.velocity + vm::Vec4{m[2][0], m[2][1], m[2][2], 0} * thrust;
}

} // namespace flight
