// Transform editing: the preview matrix the rotate and translate tools show before their
// change is committed to the points.
#pragma once

#include <optional>
#include <vector>

#include "core/vector-math.h"
#include "editor/editor-state.h"
#include "editor/picking.h"
#include "editor/point-transform.h"
#include "graphics/patch-view.h"
#include "model/model.h"

// The change a rotate or translate drag under way makes to every point (identity without
// one): turned about the vertical line through the pivot, or moved by the translation.
vm::Mat4 previewMatrix(const EditorState& editor);
// Whether a drag's change is showing that is not yet in the points.
bool previewPending(const EditorState& editor);

// The world matrix a model is drawn with: the drag's change (the points as they will be
// committed), then mirrored in x when asked (the second copy of a symmetry's patches, as it
// will be drawn from the committed points), then base.
vm::Mat4 displayMatrix(const EditorState& editor, const vm::Mat4& base, bool mirror);
// Both display matrices of a model drawn with base, and the patch under the mouse.
PatchView patchViewOf(const EditorState& editor, const vm::Mat4& base);

// Where a point dragged to (nx, ny) goes: under the mouse at the depth it had in the camera
// frame of the viewport, back in model coordinates.
vm::Float3 draggedPointPosition(const OrbitCamera& camera, const ViewportHit& hit,
                                const vm::Mat4& world, vm::Float3 point);

// Applies the previewed rotation or translation to every point of the pool and to every
// locator (its position, and its orientation turned as the surfaces turn).
void applyPreview(const EditorState& editor, Model& model);

// The rotate tool's angle of the mouse, in (0, 2π], from the ground point under it taken
// relative to the pivot (the rotation turns about the vertical line through the pivot).
float mouseAngle(vm::Vec4 ground);
// The angle swept from start to a, in [0, 2π).
float sweptAngle(float start, float a);

// The translate tool's handle: the middle of the y arrow at the camera offset. True when
// (nx, ny) lies within √(10 / viewport width) of its projection.
bool handleUnderMouse(const OrbitCamera& camera, const vm::Mat4& viewProjection,
                      const ViewportHit& hit);
// Where a rotate or translate drag is measured: on the ground, or, when the drag started
// with the ground edge-on (the eye on it), the cursor point on the plane facing the viewer
// brought down to y = 0. Nothing when neither can be reached.
std::optional<vm::Vec4> dragPlanePoint(const OrbitCamera& camera, const ViewportHit& hit,
                                       bool onViewPlane);
// Where a translate drag is measured: straight up on the handle, else on the drag plane.
std::optional<vm::Vec4> translatePoint(const OrbitCamera& camera, const ViewportHit& hit,
                                       bool onHandle, bool onViewPlane);

// What the rotate and translate tools and the typed transforms move: the chosen points when
// choosing points, else the points of the selected patches (shared ones included); nothing
// without either (the tools then move the whole model).
std::vector<uint32_t> transformSubject(const EditorState& editor, const Model& model);
// What a drag of the current tool moves: the transform subject; for the scale tool with
// nothing selected, every point of the model (it has no whole-model preview: the points
// themselves grow, those on a mirror plane held there).
std::vector<uint32_t> dragSubject(const EditorState& editor, const Model& model);
// The scale drag's factor: the mouse's distance from the pivot now over that at the press.
float dragScaleFactor(float fromPixels, float nowPixels);
// A rotate or translate drag of some points (the chosen ones, or those of the selected
// patches) instead of the whole model: the points move as the mouse does.
bool pointGestureUnderWay(const EditorState& editor);
// Notes the points and where they are, and which of them lie on a symmetry's mirror plane.
void beginPointGesture(EditorState& editor, const Model& model, std::vector<uint32_t> points);
// The drag so far as a change of the points: moved by the translation (only along axis
// when one is held), or turned by the sweep about the vertical through the pivot (about
// axis when one is held).
PointTransform gestureTransform(const EditorState& editor, Axis axis);
// Puts the gesture's points where the drag so far takes them (from where they were at the
// press); a move holds the points on a mirror plane there. Returns the points.
const std::vector<uint32_t>& stepPointGesture(EditorState& editor, Model& model, Axis axis);
void endPointGesture(EditorState& editor);

// How many of the gizmo ring's 42 segments a sweep covers (truncated; 0 under 2π/42).
inline int gizmoSegments(float sweep) {
    return static_cast<int>(sweep * 42 / vm::kTwoPi);
}
