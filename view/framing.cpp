#include "view/framing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kLeastAspect = 0.1f;
constexpr int kCorners = 8;
// No corner closer to the view's edge than this (in the view's half sizes): a deep box seen
// in perspective is not centred on the screen.
constexpr float kFarthestFromCentre = 0.95f;
// Halvings of the radius's range: far more than a float's precision needs.
constexpr int kSearchSteps = 80;
constexpr float kGrowth = 2;

struct ViewAxes {
    vm::Vec4 right, up, toEye;
};

// The axes of view 0 as its look-at makes them (a view straight down takes x as right).
ViewAxes viewAxes(const OrbitCamera& camera) {
    const vm::Vec4 toEye = vm::normalize3(camera.eye() - camera.target());
    vm::Vec4 right = vm::cross3({0, 1, 0, 0}, toEye);
    right = vm::length3(right) > 1e-6f ? vm::normalize3(right) : vm::Vec4{1, 0, 0, 0};
    return {right, vm::cross3(toEye, right), toEye};
}

// How a radius shows the corners: half their span across the view (its height or its
// width, whichever they fill more) and the farthest from the centre, in half sizes.
struct Shown {
    float halfSpan, farthest;
};

} // namespace

Framing framingOf(const OrbitCamera& camera, vm::Vec4 min, vm::Vec4 max, float aspect) {
    const ViewAxes axes = viewAxes(camera);
    // The target at the box's middle: a box is symmetric about it, so is what an
    // orthographic view shows of it.
    vm::Vec4 middle = (min + max) * 0.5f;
    middle.w = 0;
    float corners[kCorners][3]; // right, up, towards the eye
    float nearest = 0;
    for (int k = 0; k < kCorners; ++k) {
        const vm::Vec4 d =
            vm::Vec4{k & 1 ? max.x : min.x, k & 2 ? max.y : min.y, k & 4 ? max.z : min.z, 0} -
            middle;
        corners[k][0] = vm::dot3(d, axes.right);
        corners[k][1] = vm::dot3(d, axes.up);
        corners[k][2] = vm::dot3(d, axes.toEye);
        nearest = std::max(nearest, corners[k][2]);
    }
    const float tall = std::tan(vm::kHalfFieldOfView);
    const float wide = tall * std::max(aspect, kLeastAspect);
    const bool orthographic = camera.orthographicView(0);
    const auto shown = [&](float radius) {
        float low[2] = {INFINITY, INFINITY}, high[2] = {-INFINITY, -INFINITY}, farthest = 0;
        for (const auto& c : corners) {
            const float depth = orthographic ? radius : radius - c[2];
            const float at[2] = {c[0] / (depth * wide), c[1] / (depth * tall)};
            for (int a = 0; a < 2; ++a) {
                low[a] = std::min(low[a], at[a]);
                high[a] = std::max(high[a], at[a]);
                farthest = std::max(farthest, std::fabs(at[a]));
            }
        }
        return Shown{std::max(high[0] - low[0], high[1] - low[1]) / 2, farthest};
    };
    const auto tooClose = [&](float radius) {
        const Shown s = shown(radius);
        return s.halfSpan > kFramedFill || s.farthest > kFarthestFromCentre;
    };
    // The least radius that is not too close: the eye beyond the near plane in perspective,
    // then searched between a radius too close and one far enough.
    float closest = orthographic ? 0.0f : OrbitCamera::leastRadiusBefore(nearest);
    const float extent = vm::length3(max - min);
    float far = std::max(closest, extent > 0 ? extent : 1.0f);
    while (tooClose(far))
        far *= kGrowth;
    if (!tooClose(closest) && closest > 0) return {middle, closest};
    for (int step = 0; step < kSearchSteps; ++step) {
        const float mid = (closest + far) / 2;
        (tooClose(mid) ? closest : far) = mid;
    }
    return {middle, far};
}
