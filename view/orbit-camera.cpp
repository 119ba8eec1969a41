#include "view/orbit-camera.h"

#include <cmath>

#include "core/session-keys.h"
#include "core/settings-file.h"

void OrbitCamera::load(const SettingsFile& settings) {
    offset.z = settings.readFloat(session::kSession, "offset.z");
    offset.y = settings.readFloat(session::kSession, "offset.y");
    offset.x = settings.readFloat(session::kSession, "offset.x");
    offset.w = 0;
    distance = settings.readInt(session::kSession, "distance", 1);
    theta = settings.readFloat(session::kSession, "theta");
    gamma = settings.readFloat(session::kSession, "gamma");
}

float OrbitCamera::radius() const { return std::pow(5.0f, static_cast<float>(distance)); }

vm::Vec4 OrbitCamera::eye() const {
    const float yaw = theta + dTheta, pitch = gamma + dGamma, r = radius();
    const vm::Vec4 t = target();
    return {t.x - r * std::cos(pitch) * std::sin(yaw), t.y + r * std::sin(pitch),
            t.z - r * std::cos(pitch) * std::cos(yaw), 0};
}

vm::Mat4 OrbitCamera::viewMatrix() const {
    return vm::lookAtRH(eye(), target(), {0, 1, 0, 0});
}

vm::Mat4 OrbitCamera::axisViewMatrix(int view) const {
    static const vm::Vec4 kDirection[3] = {{0, 0, 1, 0}, {1, 0, 0, 0}, {0, -1, 0, 0}};
    static const vm::Vec4 kUp[3] = {{0, 1, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    const int k = view < 1 || view > 3 ? 0 : view - 1;
    const vm::Vec4 t = target();
    return vm::lookAtRH(t - kDirection[k] * radius(), t, kUp[k]);
}

vm::Vec4 OrbitCamera::viewingDirection() const {
    return vm::transformNormal({0, 0, 1, 0},
                               vm::rotationRollPitchYaw(savedGamma + dGamma, savedTheta + dTheta, 0));
}
