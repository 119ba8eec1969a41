// The single orbit camera: a target, two angles and a zoom step; radius 5^distance.
#pragma once

#include <optional>

#include "core/editor-modes.h"
#include "core/key-flags.h"
#include "core/vector-math.h"

class SettingsFile;

struct OrbitCamera {
    vm::Vec4 offset{}; // committed target
    vm::Vec4 pan{};    // target translation during a right-button drag
    float dTheta = 0;  // yaw added during a left-button drag
    float dGamma = 0;  // pitch added during a left-button drag
    float theta = 0;   // committed yaw about y
    float gamma = 0;   // committed pitch about x
    float savedTheta = 0;
    float savedGamma = 0;
    int distance = 1; // zoom step
    // View 0 is drawn orthographically (the single view's axis views are, the orbit view is
    // not; O switches it). The quad layout's three axis views always are.
    bool orthographic = false;
    // How far an orthographic view reaches before and behind the eye's plane, in radii.
    static constexpr float kOrthographicDepth = 50;
    // The fine part of the zoom, in [0.2, 1]: radius = 5^distance · scale. Framing sets it;
    // the wheel's steps keep it.
    float scale = 1;

    // offset.z, offset.y, offset.x, distance, theta, gamma from section Session.
    void load(const SettingsFile& settings);

    vm::Vec4 target() const { return offset + pan; }
    float radius() const;
    // Eye on the orbit sphere: target + r·(−cos γ'·sin θ', sin γ', −cos γ'·cos θ').
    vm::Vec4 eye() const;
    // The direction the camera looks along for line drawing: z turned by the saved angles
    // plus the pending drag.
    vm::Vec4 viewingDirection() const;
    // View 0: right-handed look-at from the eye towards the target, up (0, 1, 0).
    vm::Mat4 viewMatrix() const;
    // The fixed views of the quad layout (1 front, 2 side, 3 top), at the same radius.
    vm::Mat4 axisViewMatrix(int view) const;
    // The view matrix of viewport v: view 0's or a fixed axis view.
    vm::Mat4 viewMatrixOf(int view) const {
        return view == 0 ? viewMatrix() : axisViewMatrix(view);
    }
    // R(v): the camera rotation of viewport v (view 0: pitch γ', yaw θ'; 1: identity;
    // 2: a quarter turn about y; 3: a quarter turn about x).
    vm::Mat4 rotation(int view) const;

    bool orthographicView(int view) const { return view != 0 || orthographic; }
    // Half the height an orthographic view shows: what a perspective view shows of the plane
    // through the target, so that switching keeps the model's size on the screen.
    float orthographicHalfHeight() const;
    // The projection of viewport view of that aspect: orthographic (everything within
    // kOrthographicDepth radii before and behind the eye's plane), or the perspective given
    // (its near plane kNearPlane) with its depth range moved to the camera's near plane.
    vm::Mat4 projectionOf(int view, float aspect, const vm::Mat4& perspective) const;

    // The perspective near plane, a share of the radius (kNearPlane at the start-up radius):
    // a model of any size, at any distance, is framed without being cut away, and its depth
    // keeps its precision (a model 1e6 across 5e7 away would otherwise lie past the far
    // plane's rounding).
    static constexpr float kNearPlane = 1;
    static constexpr float kFullNearRadius = 5;
    static float nearPlaneAt(float radius);
    float nearPlane() const { return nearPlaneAt(radius()); }
    // The least radius whose near plane keeps a margin of itself before a point nearest in
    // front of the target (kNearMargin near planes).
    static constexpr float kNearMargin = 1.5f;
    static float leastRadiusBefore(float nearest);

    // Left drag: the pending angles follow the mouse (a viewport's width divides the vertical
    // motion, its height the horizontal one).
    void orbit(int dx, int dy, int viewportWidth, int viewportHeight);
    // Left-button release: the pending angles join the committed ones, wrapped, and are written.
    void commitRotation(const SettingsFile& settings);
    // Right drag from the press at (x0, y0) in viewport pressView to (x, y); the viewport
    // under the mouse is width × height.
    void panTo(int x0, int y0, int pressView, int x, int y, int width, int height);
    // Right-button release: the pan joins the offset, which is written.
    void commitPan(const SettingsFile& settings);
    void saveOffset(const SettingsFile& settings) const;
    // Mouse wheel: distance − delta / 120 (truncated), kept within the working range, written.
    void zoom(int wheelDelta, const SettingsFile& settings);
    // Frames a sphere: the target at its centre and the radius at which the sphere fills
    // about two thirds of the smaller side of a view of that aspect (the eye never closer
    // than the near plane allows). Writes the target and the zoom.
    void frame(vm::Vec4 centre, float sphereRadius, float aspect, const SettingsFile& settings);
    // The target there and the radius as near wanted as the zoom's steps allow; written.
    void frameAt(vm::Vec4 target, float wanted, const SettingsFile& settings);
    // Held movement keys move the target; nothing is written.
    void moveByKeys(float dt, const KeyFlags& keys);
    // "switchView": the next view mode and its angles; returns the layout to switch to, or
    // nothing to keep it. Writes CurrentView.
    std::optional<Layout> switchView(ViewMode& currentView, const SettingsFile& settings);
};
