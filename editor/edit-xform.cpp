#include "editor/edit-xform.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "editor/point-selection.h"

vm::Mat4 previewMatrix(const EditorState& editor) {
    // A drag of some points moves the points themselves.
    if (!editor.transformDrag || pointGestureUnderWay(editor)) return vm::identity();
    if (editor.tool == Tool::Rotate)
        return vm::translation(-editor.pivot) * vm::rotationY(-editor.sweepAngle) *
               vm::translation(editor.pivot);
    if (editor.tool == Tool::Translate) return vm::translation(editor.translation);
    return vm::identity();
}

bool previewPending(const EditorState& editor) {
    if (!editor.transformDrag || pointGestureUnderWay(editor)) return false;
    if (editor.tool == Tool::Rotate) return editor.sweepAngle != 0;
    if (editor.tool == Tool::Translate)
        return editor.translation.x != 0 || editor.translation.y != 0 || editor.translation.z != 0;
    return false;
}

vm::Mat4 displayMatrix(const EditorState& editor, const vm::Mat4& base, bool mirror) {
    const vm::Mat4 m = previewMatrix(editor);
    return (mirror ? m * vm::scaling(-1, 1, 1) : m) * base;
}

vm::Float3 draggedPointPosition(const OrbitCamera& camera, const ViewportHit& hit,
                                const vm::Mat4& world, vm::Float3 point) {
    const vm::Vec4 p = vm::transform({point.x, point.y, point.z, 1}, world);
    const vm::Mat4 frame = cameraFrame(camera, hit.viewport);
    vm::Vec4 q = vm::transform(p, vm::inverse(frame));
    if (q.w != 0) q = q * (1.0f / q.w);
    // Where the mouse is at the point's depth: the view widens with depth in perspective,
    // not in an orthographic view.
    const float t = std::tan(vm::kHalfFieldOfView), z = q.z;
    const float across = camera.orthographicView(hit.viewport) ? camera.radius() : z;
    const vm::Vec4 n = {-t * across * hit.aspect * hit.nx, t * across * hit.ny, z, 1};
    const vm::Vec4 moved = vm::transform(vm::transform(n, frame), vm::inverse(world));
    return {moved.x, moved.y, moved.z};
}

void applyPreview(const EditorState& editor, Model& model) {
    const vm::Mat4 m = previewMatrix(editor);
    for (vm::Float3& p : model.points) {
        const vm::Vec4 q = vm::transform({p.x, p.y, p.z, 1}, m);
        p = {q.x, q.y, q.z};
    }
    // The locators are part of the model: they go where the surfaces go, and turn with them.
    const vm::Quat turn = vm::quaternionFromMatrix(m);
    for (Model::Locator& locator : model.locators) {
        const vm::Vec4 at =
            vm::transform({locator.position.x, locator.position.y, locator.position.z, 1}, m);
        locator.position = {at.x, at.y, at.z, locator.position.w};
        locator.orientation = vm::normalize4(vm::quaternionMultiply(locator.orientation, turn));
    }
}

float mouseAngle(vm::Vec4 ground) {
    float a = std::atan2(ground.z, ground.x);
    if (a <= 0) a += vm::kTwoPi;
    return a;
}

float sweptAngle(float start, float a) {
    float s = a - start;
    if (s < 0) s += vm::kTwoPi;
    return s;
}

bool handleUnderMouse(const OrbitCamera& camera, const vm::Mat4& viewProjection,
                      const ViewportHit& hit) {
    const vm::Vec4 h = camera.offset + vm::Vec4{0, 0.5f, 0, 0};
    const ScreenPoint s = projectToScreen({h.x, h.y, h.z}, viewProjection);
    return 10.0f / static_cast<float>(hit.width) >
           (hit.nx - s.x) * (hit.nx - s.x) + (hit.ny - s.y) * (hit.ny - s.y);
}

std::optional<vm::Vec4> dragPlanePoint(const OrbitCamera& camera, const ViewportHit& hit,
                                       bool onViewPlane) {
    if (!onViewPlane) return groundPoint(camera, hit);
    const vm::Vec4 p = cursorPoint(camera, hit);
    if (!isFinitePoint(p)) return std::nullopt;
    return vm::Vec4{p.x, 0, p.z, 0};
}

std::optional<vm::Vec4> translatePoint(const OrbitCamera& camera, const ViewportHit& hit,
                                       bool onHandle, bool onViewPlane) {
    if (onHandle) return vm::Vec4{0, hit.ny, 0, 0};
    return dragPlanePoint(camera, hit, onViewPlane);
}

PatchView patchViewOf(const EditorState& editor, const vm::Mat4& base) {
    PatchView view;
    view.world = displayMatrix(editor, base, false);
    view.mirroredWorld = displayMatrix(editor, base, true);
    view.hoveredPatch = editor.hoveredPatch;
    return view;
}

std::vector<uint32_t> transformSubject(const EditorState& editor, const Model& model) {
    if (editor.choosingPoints) return editor.chosenPoints.indices();
    return pointsOfSelectedPatches(model);
}

std::vector<uint32_t> dragSubject(const EditorState& editor, const Model& model) {
    std::vector<uint32_t> subject = transformSubject(editor, model);
    if (subject.empty() && editor.tool == Tool::Scale) {
        subject.resize(model.points.size());
        std::iota(subject.begin(), subject.end(), 0u);
    }
    return subject;
}

float dragScaleFactor(float fromPixels, float nowPixels) {
    // A press on the pivot itself has no distance to measure from: a few pixels stand in.
    constexpr float kLeastPixels = 4;
    return nowPixels / std::max(fromPixels, kLeastPixels);
}

bool pointGestureUnderWay(const EditorState& editor) {
    return !editor.pointGesture.points.empty();
}

void beginPointGesture(EditorState& editor, const Model& model, std::vector<uint32_t> points) {
    EditorState::PointGesture& g = editor.pointGesture;
    g.points = std::move(points);
    g.from.clear();
    g.from.reserve(g.points.size());
    for (uint32_t i : g.points)
        g.from.push_back(model.points[i]);
    g.mirrorPlane = onMirrorPlane(model);
    g.held = 0;
    if (editor.liveJoins)
        editor.joinFollowers.begin(model, g.points);
    else
        editor.joinFollowers.clear();
}

PointTransform gestureTransform(const EditorState& editor, Axis axis) {
    PointTransform t;
    t.axis = axis;
    t.pivot = {editor.pivot.x, editor.pivot.y, editor.pivot.z, 1};
    if (editor.tool == Tool::Rotate) {
        // The same sense as the whole model's turn: the gizmo's sweep, clockwise from above.
        t.kind = PointTransform::Kind::Rotate;
        t.angle = -editor.sweepAngle;
    } else if (editor.tool == Tool::Scale) {
        t.kind = PointTransform::Kind::Scale;
        t.factor = editor.scaleFactor;
    } else {
        t.kind = PointTransform::Kind::Move;
        t.offset = editor.translation;
    }
    return t;
}

const std::vector<uint32_t>& stepPointGesture(EditorState& editor, Model& model, Axis axis) {
    EditorState::PointGesture& g = editor.pointGesture;
    const PointTransform t = gestureTransform(editor, axis);
    // Turning keeps the plane's points where the turn takes them; moving and scaling hold
    // them on it.
    static const std::vector<uint8_t> none;
    g.held = transformPoints(model, g.points, g.from, t,
                             t.kind == PointTransform::Kind::Rotate ? none : g.mirrorPlane);
    if (!editor.joinFollowers.active()) return g.points;
    g.previewed = LiveJoins::together(g.points, editor.joinFollowers.follow(model, g.points));
    return g.previewed;
}

void endPointGesture(EditorState& editor) {
    editor.pointGesture = {};
    editor.joinFollowers.clear();
}
