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
