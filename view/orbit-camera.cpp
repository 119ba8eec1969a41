#include "view/orbit-camera.h"

#include <algorithm>
#include <cmath>

#include "core/session-keys.h"
#include "core/session-limits.h"
#include "core/settings-file.h"

void OrbitCamera::load(const SettingsFile& settings) {
    offset.z = session::validOffset(settings.readFloat(session::kSession, "offset.z"));
    offset.y = session::validOffset(settings.readFloat(session::kSession, "offset.y"));
    offset.x = session::validOffset(settings.readFloat(session::kSession, "offset.x"));
    offset.w = 0;
    distance = session::validDistance(settings.readInt(session::kSession, "distance", 1));
    scale = settings.readFloat(session::kSession, "zoomScale");
    if (!(scale >= 0.2f && scale <= 1.0f)) scale = 1; // missing (0) or edited out of range
    theta = session::validAngle(settings.readFloat(session::kSession, "theta"));
    gamma = session::validAngle(settings.readFloat(session::kSession, "gamma"));
}

float OrbitCamera::radius() const {
    return std::pow(5.0f, static_cast<float>(distance)) * scale;
}

void OrbitCamera::frame(vm::Vec4 centre, float sphereRadius, float aspect,
                        const SettingsFile& settings) {
    constexpr float kFill = 2.0f / 3.0f, kHalfFov = vm::kHalfFieldOfView;
    const float r = std::max(sphereRadius, 0.0f);
    float wanted = r / (kFill * std::tan(kHalfFov) * std::min(1.0f, std::max(aspect, 0.1f)));
    wanted = std::max(wanted, leastRadiusBefore(r));
    frameAt(centre, wanted, settings);
}

void OrbitCamera::frameAt(vm::Vec4 target, float wanted, const SettingsFile& settings) {
    // A point or nothing framed: the closest zoom (the logarithm needs a positive radius).
    const float closest = std::pow(5.0f, static_cast<float>(session::kMinDistance));
    if (!(wanted >= closest)) wanted = closest;
    distance = std::clamp(static_cast<int>(std::ceil(std::log(wanted) / std::log(5.0f) - 1e-6f)),
                          session::kMinDistance, session::kMaxDistance);
    scale = std::clamp(wanted / std::pow(5.0f, static_cast<float>(distance)), 0.2f, 1.0f);
    offset = {target.x, target.y, target.z, 0};
    pan = {};
    saveOffset(settings);
    settings.writeInt("Session", "distance", distance);
    settings.writeFloat("Session", "zoomScale", scale);
}

float OrbitCamera::orthographicHalfHeight() const {
    return radius() * std::tan(vm::kHalfFieldOfView);
}

float OrbitCamera::nearPlaneAt(float radius) {
    return kNearPlane * radius / kFullNearRadius;
}

float OrbitCamera::leastRadiusBefore(float nearest) {
    // radius − nearest ≥ kNearMargin · radius · kNearPlane / kFullNearRadius.
    return std::max(nearest, 0.0f) / (1 - kNearMargin * kNearPlane / kFullNearRadius);
}

vm::Mat4 OrbitCamera::projectionOf(int view, float aspect, const vm::Mat4& perspective) const {
    if (!orthographicView(view)) {
        // Near and far planes both moved by one factor: only the depth's offset changes, and
        // the model keeps the same share of the depth's precision at any size and distance.
        vm::Mat4 scaled = perspective;
        scaled[3][2] *= nearPlane() / kNearPlane;
        return scaled;
    }
    const float h = orthographicHalfHeight(), depth = kOrthographicDepth * radius();
    return vm::orthographicRH(2 * h * aspect, 2 * h, -depth, depth);
}

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
    return vm::transformNormal(
        {0, 0, 1, 0}, vm::rotationRollPitchYaw(savedGamma + dGamma, savedTheta + dTheta, 0));
}

vm::Mat4 OrbitCamera::rotation(int view) const {
    switch (view) {
    case 1:
        return vm::identity();
    case 2:
        return vm::rotationY(vm::kPi / 2);
    case 3:
        return vm::rotationX(vm::kPi / 2);
    default:
        return vm::rotationRollPitchYaw(gamma + dGamma, theta + dTheta, 0);
    }
}

void OrbitCamera::orbit(int dx, int dy, int viewportWidth, int viewportHeight) {
    dGamma += static_cast<float>(dy) / static_cast<float>(viewportWidth);
    dTheta += static_cast<float>(-dx) / static_cast<float>(viewportHeight);
}

namespace {
// Brings an angle past ±π/2 back by a whole turn (once each way).
float wrapAngle(float a) {
    const float halfPi = vm::kHalfPi, twoPi = vm::kTwoPi;
    if (a > halfPi) a -= twoPi;
    if (a < -halfPi) a += twoPi;
    return a;
}
} // namespace

void OrbitCamera::commitRotation(const SettingsFile& settings) {
    gamma = wrapAngle(gamma + dGamma);
    savedGamma = gamma;
    dGamma = 0;
    theta = wrapAngle(theta + dTheta);
    dTheta = 0;
    savedTheta = theta;
    settings.writeFloat("Session", "gamma", gamma);
    settings.writeFloat("Session", "theta", theta);
}

void OrbitCamera::panTo(int x0, int y0, int pressView, int x, int y, int width, int height) {
    const float s = radius() * std::tan(vm::kHalfFieldOfView);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const vm::Vec4 p = {static_cast<float>(x - x0) / (w / 2) * s * (w / h),
                        static_cast<float>(y - y0) / (h / 2) * s, 0, 0};
    pan = vm::transform(p, rotation(pressView));
}

void OrbitCamera::commitPan(const SettingsFile& settings) {
    offset = offset + pan;
    offset.w = 0;
    pan = {};
    saveOffset(settings);
}

void OrbitCamera::saveOffset(const SettingsFile& settings) const {
    settings.writeFloat("Session", "offset.x", offset.x);
    settings.writeFloat("Session", "offset.y", offset.y);
    settings.writeFloat("Session", "offset.z", offset.z);
}

void OrbitCamera::zoom(int wheelDelta, const SettingsFile& settings) {
    // Kept in a working range: far enough in never turns the view inside out, far enough
    // out never leaves the depth range.
    distance =
        std::clamp(distance - wheelDelta / 120, session::kMinDistance, session::kMaxDistance);
    settings.writeInt("Session", "distance", distance);
}

void OrbitCamera::moveByKeys(float dt, const KeyFlags& keys) {
    const float sx = keys.down[KeyFlags::A] ? 1.0f : keys.down[KeyFlags::D] ? -1.0f : 0.0f;
    const float sy = keys.down[KeyFlags::F] ? -1.0f : keys.down[KeyFlags::R] ? 1.0f : 0.0f;
    const float sz = keys.down[KeyFlags::W] ? 1.0f : keys.down[KeyFlags::S] ? -1.0f : 0.0f;
    if (sx == 0 && sy == 0 && sz == 0) return;
    const float step = (keys.down[KeyFlags::Shift] ? 1.0f : 0.001f) * dt;
    offset = offset + vm::transformNormal({sx * step, sy * step, sz * step, 0}, rotation(0));
}

std::optional<Layout> OrbitCamera::switchView(ViewMode& currentView, const SettingsFile& settings) {
    currentView = static_cast<ViewMode>((static_cast<int>(currentView) + 1) % kViewModeCount);
    std::optional<Layout> layout;
    switch (currentView) {
    case ViewMode::Orbit:
        theta = savedTheta;
        gamma = savedGamma;
        orthographic = false;
        break;
    case ViewMode::Top:
        theta = 0;
        gamma = vm::kHalfPi;
        orthographic = true;
        break;
    case ViewMode::Side:
        theta = vm::kHalfPi;
        gamma = 0;
        orthographic = true;
        break;
    case ViewMode::Quad:
        layout = Layout::Quad;
        theta = savedTheta;
        gamma = savedGamma;
        orthographic = false;
        break;
    case ViewMode::Front:
        layout = Layout::Single;
        theta = 0;
        gamma = 0;
        orthographic = true;
        break;
    }
    settings.writeInt("Session", "CurrentView", static_cast<int>(currentView));
    return layout;
}
