#include "editor/picking.h"

#include "core/quad-layout.h"

#include <cmath>

namespace {
const float kTanEighthPi = std::tan(vm::kHalfFieldOfView);
}

ViewportHit locateViewport(int mx, int my, int areaWidth, int areaHeight, bool quad) {
    ViewportHit hit;
    ViewRect rect{0, 0, areaWidth, areaHeight};
    if (quad) {
        hit.viewport = quadViewportAt(mx, my, areaWidth, areaHeight);
        rect = quadViewRect(hit.viewport, areaWidth, areaHeight);
    }
    hit.width = rect.width > 0 ? rect.width : 1;
    hit.height = rect.height > 0 ? rect.height : 1;
    hit.nx = static_cast<float>(mx - rect.x) / static_cast<float>(hit.width) * 2 - 1;
    hit.ny = (1 - static_cast<float>(my - rect.y) / static_cast<float>(hit.height)) * 2 - 1;
    hit.aspect = static_cast<float>(hit.width) / static_cast<float>(hit.height);
    return hit;
}

vm::Mat4 cameraFrame(const OrbitCamera& camera, int viewport) {
    vm::Vec4 target = camera.target();
    return vm::translation(0, 0, -camera.radius()) * camera.rotation(viewport) *
           vm::translation(target);
}

vm::Vec4 cursorPoint(const OrbitCamera& camera, const ViewportHit& hit) {
    const float d = camera.radius();
    return vm::transform({-kTanEighthPi * d * hit.aspect * hit.nx, kTanEighthPi * d * hit.ny, d, 1},
                         cameraFrame(camera, hit.viewport));
}

vm::Vec4 eyeFor(const OrbitCamera& camera, const ViewportHit& hit) {
    const vm::Mat4 frame = cameraFrame(camera, hit.viewport);
    const vm::Vec4 eye = {frame[3][0], frame[3][1], frame[3][2], 1};
    if (!camera.orthographicView(hit.viewport)) return eye;
    // Straight back from the cursor point along the line of sight, as far as the view
    // reaches behind the eye's plane.
    const vm::Vec4 sight = {frame[2][0], frame[2][1], frame[2][2], 0};
    return cursorPoint(camera, hit) -
           sight * ((1 + OrbitCamera::kOrthographicDepth) * camera.radius());
}

std::optional<vm::Vec4> groundPoint(const OrbitCamera& camera, const ViewportHit& hit) {
    const vm::Vec4 e = eyeFor(camera, hit);
    const vm::Vec4 p = cursorPoint(camera, hit);
    const vm::Vec4 d = e - p;
    // Only in front of the eye: behind it, or with the eye on the ground, the line meets
    // the ground nowhere the user is looking.
    if (d.y == 0 || !(e.y / d.y > 0)) return std::nullopt;
    const float u = e.x - d.x * e.y / d.y;
    const float w = p.z - d.z * p.y / d.y;
    if (!std::isfinite(u) || !std::isfinite(w)) return std::nullopt;
    return vm::Vec4{u, 0, w, 0};
}

vm::Vec4 cursorReadout(const OrbitCamera& camera, int viewport, vm::Vec4 cursor) {
    vm::Vec4 local = vm::transform(cursor, vm::inverse(cameraFrame(camera, viewport)));
    if (local.w != 0) local = local * (1.0f / local.w);
    return {local.x, local.y, local.z - camera.radius(), 0};
}

PointPick pickPoint(const Model& model, const vm::Mat4& world, const vm::Mat4& viewProjection,
                    const std::vector<int>& useCount, float nx, float ny) {
    PointPick pick;
    float best = 0;
    const vm::Mat4 m = world * viewProjection;
    const size_t count = std::min(model.points.size(), useCount.size());
    for (size_t i = 0; i < count; ++i) {
        if (useCount[i] == 0) continue;
        const ScreenPoint s = projectToScreen(model.points[i], m);
        const float d2 = (nx - s.x) * (nx - s.x) + (ny - s.y) * (ny - s.y);
        if (d2 != d2) continue; // a point in the eye's plane has no place on the screen
        if (pick.index < 0 || d2 < best) {
            best = d2;
            pick.index = static_cast<int>(i);
        }
    }
    pick.hot = pick.index >= 0 && 800 * best < 1;
    return pick;
}

PatchPick pickRay(const OrbitCamera& camera, const ViewportHit& hit) {
    PatchPick pick;
    pick.origin = eyeFor(camera, hit);
    pick.direction = vm::normalize3(cursorPoint(camera, hit) - pick.origin);
    return pick;
}

void testPatchNet(const Model& model, const vm::Mat4& world, size_t p, PatchPick& pick) {
    const Model::Patch& patch = model.patches[p];
    vm::Vec4 net[16];
    for (size_t k = 0; k < 16; ++k) {
        const vm::Float3& q = model.points[static_cast<size_t>(patch.indices[k])];
        net[k] = vm::transform({q.x, q.y, q.z, 1}, world);
    }
    auto at = [&](int r, int c) { return net[4 * r + c]; };
    for (int r = 1; r <= 3; ++r)
        for (int c = 0; c <= 2; ++c) {
            float t = 0;
            const bool hitQuad = vm::rayTriangle(pick.origin, pick.direction, at(r, c),
                                                 at(r - 1, c + 1), at(r - 1, c), &t) ||
                                 vm::rayTriangle(pick.origin, pick.direction, at(r, c),
                                                 at(r, c + 1), at(r - 1, c + 1), &t);
            if (hitQuad && (pick.distance < 0 || t < pick.distance)) {
                pick.distance = t;
                pick.patch = static_cast<int>(p);
            }
        }
}

PatchPick pickPatch(const Model& model, const vm::Mat4& world, const OrbitCamera& camera,
                    const ViewportHit& hit) {
    PatchPick pick = pickRay(camera, hit);
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (model.isShown(p)) testPatchNet(model, world, p, pick);
    return pick;
}
