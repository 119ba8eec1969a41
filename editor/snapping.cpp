#include "editor/snapping.h"

#include <cmath>

#include "core/session-keys.h"
#include "core/settings-file.h"

namespace snap {

float stepFrom(const SettingsFile& settings) {
    const float step = settings.readFloat(session::kSession, "snapStep");
    return std::isfinite(step) && step > 0 && step <= 1e6f ? step : kDefaultStep;
}

float toGrid(float v, float step) {
    if (!(step > 0)) return v;
    const float snapped = std::round(v / step) * step;
    return std::isfinite(snapped) ? snapped : v;
}

vm::Float3 toGrid(vm::Float3 p, float step) {
    return {toGrid(p.x, step), toGrid(p.y, step), toGrid(p.z, step)};
}

vm::Vec4 toGrid(vm::Vec4 p, float step) {
    return {toGrid(p.x, step), toGrid(p.y, step), toGrid(p.z, step), p.w};
}

float toAngle(float a) {
    const float snapped = std::round(a / kAngle) * kAngle;
    constexpr float kTurn = vm::kTwoPi;
    return snapped >= kTurn - 1e-4f ? 0.0f : snapped;
}

} // namespace snap
