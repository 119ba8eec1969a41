// Mouse positions in the 3D view turned into what the tools work on: the viewport and its
// normalised coordinates, the nearest point on screen, the patch under the mouse, and the
// points under the mouse on the target plane and on the ground.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"
#include "view/orbit-camera.h"

struct ViewportHit {
    int viewport = 0;
    float nx = 0, ny = 0; // −1..1, x to the right, y up
    float aspect = 1;
    int width = 1, height = 1; // the viewport's size in pixels
};

// The viewport under (mx, my), relative to the view area of areaWidth × areaHeight. In the
// quad layout the centre lines belong to the left column and the top row.
ViewportHit locateViewport(int mx, int my, int areaWidth, int areaHeight, bool quad);

// Translation(0, 0, −D) × R(v) × Translation(target): row 3 is the eye, rows 0–2 the axes
// (x to the left of the screen, y up, z toward the target).
vm::Mat4 cameraFrame(const OrbitCamera& camera, int viewport);
// The point under the mouse on the plane through the target facing the viewer.
vm::Vec4 cursorPoint(const OrbitCamera& camera, const ViewportHit& hit);
// Whether x, y and z are all finite numbers: only such a point may enter the model.
inline bool isFinitePoint(vm::Vec4 p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
// Where the line of sight through the cursor point starts: the eye in a perspective view, the
// point behind the cursor point where an orthographic view starts to see.
vm::Vec4 eyeFor(const OrbitCamera& camera, const ViewportHit& hit);
// Where the line from the eye through the cursor point meets y = 0 in front of the eye;
// nothing when it meets it behind the eye, at the eye or never.
std::optional<vm::Vec4> groundPoint(const OrbitCamera& camera, const ViewportHit& hit);
// The cursor point relative to the target, in the camera frame's axes (status readout).
vm::Vec4 cursorReadout(const OrbitCamera& camera, int viewport, vm::Vec4 cursor);

// A point on the screen: transformed and divided by w (the "world, then view-projection"
// matrix given as one).
struct ScreenPoint {
    float x, y;
};
inline ScreenPoint projectToScreen(const vm::Float3& p, const vm::Mat4& m) {
    const vm::Vec4 s = vm::transform({p.x, p.y, p.z, 1}, m);
    return {s.x / s.w, s.y / s.w};
}

struct PointPick {
    int index = -1;   // nearest on screen; −1 when there is no candidate
    bool hot = false; // within the pick tolerance: 800·d² < 1
};
// Points whose use count is 0 are never candidates; of equal distances the lowest index wins.
PointPick pickPoint(const Model& model, const vm::Mat4& world, const vm::Mat4& viewProjection,
                    const std::vector<int>& useCount, float nx, float ny);

struct PatchPick {
    int patch = -1;
    float distance = -1;
    vm::Vec4 origin{}, direction{};
};
// The shown patch whose control net the ray from the eye through the cursor point meets
// first (two triangles per net quad, the second tested only when the first misses).
PatchPick pickPatch(const Model& model, const vm::Mat4& world, const OrbitCamera& camera,
                    const ViewportHit& hit);
// The pick ray alone (no hit yet), and one patch's net tested against it.
PatchPick pickRay(const OrbitCamera& camera, const ViewportHit& hit);
void testPatchNet(const Model& model, const vm::Mat4& world, size_t patch, PatchPick& pick);
