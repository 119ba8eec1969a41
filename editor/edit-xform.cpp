#include "editor/edit-xform.h"

#include <cmath>

vm::Mat4 displayMatrix(const EditorState& editor, const vm::Mat4& base, bool mirror) {
    vm::Mat4 m = mirror ? vm::scaling(-1, 1, 1) : vm::identity();
    if (editor.tool == tools::kRotate) {
        // Turned about the vertical axis through the pivot.
        const float theta = editor.startAngle > 0 ? -editor.sweepAngle : 0.0f;
        m = m * vm::translation(-editor.pivot) * vm::rotationY(theta) *
            vm::translation(editor.pivot);
    } else if (editor.tool == tools::kTranslate) {
        m = m * vm::translation(editor.pivot);
    }
    return m * base;
}

vm::Float3 draggedPointPosition(const OrbitCamera& camera, const ViewportHit& hit,
                                const vm::Mat4& world, vm::Float3 point) {
    const vm::Vec4 p = vm::transform({point.x, point.y, point.z, 1}, world);
    const vm::Mat4 frame = cameraFrame(camera, hit.viewport);
    vm::Vec4 q = vm::transform(p, vm::inverse(frame));
    if (q.w != 0) q = q * (1.0f / q.w);
    const float t = std::tan(0.39269909f), z = q.z;
    const vm::Vec4 n = {-t * z * hit.aspect * hit.nx, t * z * hit.ny, z, 1};
    const vm::Vec4 moved = vm::transform(vm::transform(n, frame), vm::inverse(world));
    return {moved.x, moved.y, moved.z};
}

void applyDisplayTransform(const EditorState& editor, Model& model) {
    const vm::Mat4 m = displayMatrix(editor, vm::identity(), false);
    for (vm::Float3& p : model.points) {
        const vm::Vec4 q = vm::transform({p.x, p.y, p.z, 1}, m);
        p = {q.x, q.y, q.z};
    }
}

float mouseAngle(vm::Vec4 ground) {
    float a = std::atan2(ground.z, ground.x);
    if (a <= 0) a += 6.2831855f;
    return a;
}

float sweptAngle(float start, float a) {
    float s = a - start;
    if (s < 0) s += 6.2831855f;
    return s;
}

bool handleUnderMouse(const OrbitCamera& camera, const vm::Mat4& viewProjection,
                      const ViewportHit& hit) {
    const vm::Vec4 h = camera.offset + vm::Vec4{0, 0.5f, 0, 0};
    const ScreenPoint s = projectToScreen({h.x, h.y, h.z}, viewProjection);
    return 10.0f / static_cast<float>(hit.width) >
           (hit.nx - s.x) * (hit.nx - s.x) + (hit.ny - s.y) * (hit.ny - s.y);
}

std::optional<vm::Vec4> translatePoint(const OrbitCamera& camera, const ViewportHit& hit,
                                       bool onHandle) {
    if (onHandle) return vm::Vec4{0, hit.ny, 0, 0};
    return groundPoint(camera, hit);
}
