// The single orbit camera: a target, two angles and a zoom step; radius 5^distance.
#pragma once

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
};
