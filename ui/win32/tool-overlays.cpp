#include "ui/win32/tool-overlays.h"

#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "editor/edit-xform.h"
#include "editor/overlay-geometry.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "graphics/d3d11/renderer.h"
#include "ui/palette-buttons.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/records.h"

namespace {

constexpr float kMarkerSize = 0.02f;

vm::Vec4 pointAt(const Model& model, int index) {
    const vm::Float3& p = model.points[static_cast<size_t>(index)];
    return {p.x, p.y, p.z, 1};
}

void drawSegments(Renderer& r, const std::vector<overlay::Segment>& lines) {
    for (const overlay::Segment& s : lines)
        r.drawSegment(s.from, s.to, s.colour);
}

void drawRotateGizmo(Renderer& r, const vm::Mat4& world) {
    if (!application.palette.toolbar ||
        !SendMessageA(application.palette.toolbar, TB_ISBUTTONCHECKED, palette::Rotate, 0))
        return;
    const float radius = 0.47f * orbitCamera.radius();
    const bool inProgress = editorState.startAngle > 0;
    const float a = inProgress ? editorState.startAngle : 0;
    // About the line through the pivot along the held axis (the vertical when none is), the
    // ring's first point at angle a.
    r.setWorld(vm::scaling(radius, radius, radius) * vm::rotationY(-a) * axisFrame(heldAxis()) *
               vm::translation(editorState.pivot) * world);
    r.drawGizmo(gizmoSegments(editorState.sweepAngle), inProgress);
    r.drawArrow(
        {0, 0, 0, 1},
        {1.3f * std::cos(editorState.sweepAngle), 0, 1.3f * std::sin(editorState.sweepAngle), 1},
        {0.17f, 0.8f, 0.2f, 0});
}

} // namespace

namespace {

// The chosen points, each a small cube in the chosen colour; past a few thousand only the
// first are marked (the count is in the status bar's selection report).
void drawChosenPoints(Renderer& r, const Model& model, const vm::Mat4& world) {
    constexpr size_t kMostMarked = 4096;
    for (uint32_t i : editorState.chosenPoints.indices(kMostMarked)) {
        if (i >= model.points.size()) break;
        r.drawCube(overlay::kMarkerChosen,
                   vm::transform(pointAt(model, static_cast<int>(i)), world), kMarkerSize);
    }
}

// The pivot the user set, and during a drag of points the pivot in use (white), with the
// axis it is held to (X, Y or Z down) through it in the axis' colour; a scale drag joins the
// pivot to the points' first one, which grows and shrinks with them.
void drawPivotAndAxis(Renderer& r, const Model& model, const vm::Mat4& world) {
    if (editorState.chosenPivot)
        r.drawCube(overlay::kMarkerWhite, vm::transform(*editorState.chosenPivot, world),
                   2 * kMarkerSize);
    if (!pointGestureUnderWay(editorState)) return;
    const vm::Vec4 pivot{editorState.pivot.x, editorState.pivot.y, editorState.pivot.z, 1};
    r.drawCube(overlay::kMarkerWhite, vm::transform(pivot, world), 2 * kMarkerSize);
    r.setWorld(world);
    const uint32_t first = editorState.pointGesture.points.front();
    if (editorState.tool == Tool::Scale && first < model.points.size())
        r.drawSegment(pivot, pointAt(model, static_cast<int>(first)), overlay::kMarkerWhite);
    r.setWorld(vm::identity());
    const Axis axis = heldAxis();
    if (axis == Axis::Free) return;
    const vm::Vec4 colour = unitAlong(axis), along = colour * orbitCamera.radius();
    r.setWorld(world);
    r.drawSegment(pivot - along, pivot + along, colour);
    r.setWorld(vm::identity());
}

// The joins display: the shared edges in their shades, the lines made again only after the
// model changed, and not while a drag is moving it (a large model's lines take a while).
void drawJoins(Renderer& r, const Model& model, const vm::Mat4& world) {
    Application::Joins& joins = application.joins;
    const bool dragging = editorState.transformDrag || editorState.draggedPoint >= 0;
    const uint64_t revision = application.shipCopy.revision();
    if (joins.revision != revision && !dragging) {
        const JoinLines lines = joinLines(model);
        for (int s = 0; s < kJoinShades; ++s) {
            const std::vector<vm::Float3>& list = lines.shades[static_cast<size_t>(s)];
            joins.shades[s] = r.makeLineBuffer(list.data(), list.size());
            joins.counts[s] = joins.shades[s] ? static_cast<UINT>(list.size()) : 0;
        }
        joins.revision = revision;
    }
    r.setWorld(world);
    for (int s = 0; s < kJoinShades; ++s)
        r.drawLineList(joins.shades[s].Get(), joins.counts[s], kJoinShadeColours[s]);
    r.setWorld(vm::identity());
}

// The hot point's marker, and the point chosen in the shape window's list.
void drawPointMarkers(Renderer& r, const Model& model, const vm::Mat4& world, bool hot) {
    if (editorState.choosingPoints) drawChosenPoints(r, model, world);
    if (hot)
        r.drawCube(editorState.pointMoved ? overlay::kMarkerBlue : overlay::kMarkerWhite,
                   vm::transform(pointAt(model, editorState.hoveredPoint), world), kMarkerSize);
    if (application.shape.pointList) {
        const int s =
            static_cast<int>(SendMessageA(application.shape.pointList, LB_GETCURSEL, 0, 0));
        if (s >= 0 && static_cast<size_t>(s) < model.points.size() &&
            (!hot || editorState.hoveredPoint != s))
            r.drawCube(overlay::kMarkerGreen, vm::transform(pointAt(model, s), world), kMarkerSize);
    }
    r.setWorld(vm::identity());
}

// The rubber band: its corners on the near plane, taken back into the world.
void drawRubberBand(Renderer& r) {
    r.setWorld(vm::identity());
    const vm::Mat4 back = vm::inverse(r.viewProjection());
    const float x0 = editorState.bandX0, y0 = editorState.bandY0;
    const float x1 = editorState.bandX1, y1 = editorState.bandY1;
    const vm::Vec4 screen[4] = {
        {x0, y0, 1e-3f, 1}, {x1, y0, 1e-3f, 1}, {x1, y1, 1e-3f, 1}, {x0, y1, 1e-3f, 1}};
    vm::Vec4 corners[4];
    for (int k = 0; k < 4; ++k)
        corners[k] = vm::transformCoord(screen[k], back);
    for (int k = 0; k < 4; ++k)
        r.drawSegment(corners[k], corners[(k + 1) % 4], overlay::kMarkerWhite);
}

// The add and locator tools' guide lines from the point to its feet in the camera frame,
// and the locators' axes.
void drawPlacingGuides(Renderer& r, const Model& model, const vm::Mat4& world,
                       const vm::Mat4& frame, bool hot) {
    if (editorState.tool == Tool::Add || editorState.tool == Tool::Locator) {
        const vm::Vec4 p = hot ? pointAt(model, editorState.hoveredPoint) : editorState.cursor;
        vm::Vec4 a, b;
        overlay::guideFeet(p, frame, &a, &b);
        const vm::Vec4 colour = hot ? overlay::kGuideHot : overlay::kBracket;
        r.drawSegment(b, p, colour);
        r.drawSegment(a, p, colour);
    }
    if (editorState.tool == Tool::Locator)
        for (const Model::Locator& locator : model.locators) {
            r.setWorld(vm::rotationQuaternion(locator.orientation) *
                       vm::translation(locator.position) * world);
            r.drawArrow({0, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 0});
            r.drawArrow({0, 0, 0, 1}, {0, 1, 0, 1}, {0, 1, 0, 0});
            r.drawArrow({0, 0, 0, 1}, {0, 0, 1, 1}, {0, 0, 1, 0});
        }
}

} // namespace

void drawOverlays(int viewport, float aspect) {
    if (!application.renderer || !editorState.currentEntity) return;
    Renderer& r = *application.renderer;
    const Model& model = editedModel();
    vm::Mat4 world;
    editorState.currentEntity->worldMatrix(world);
    const bool hot = editorState.hotPoint && editorState.hoveredPoint >= 0 &&
                     static_cast<size_t>(editorState.hoveredPoint) < model.points.size();

    // What the view shows of the points: with a rotate or translate drag's change under way.
    const vm::Mat4 shown = displayMatrix(editorState, world, false);
    drawPointMarkers(r, model, shown, hot);
    drawPivotAndAxis(r, model, world);
    if (editorState.showJoins) drawJoins(r, model, shown);
    if (editorState.banding && viewport == editorState.bandViewport) drawRubberBand(r);
    if (editorState.tool == Tool::Select) {
        const bool hit = editorState.hoveredPatch != -1;
        const float length = hit ? editorState.pickDistance : 1.2f * orbitCamera.radius();
        r.drawArrow(editorState.pickRay.origin,
                    editorState.pickRay.origin + editorState.pickRay.direction * length,
                    hit ? overlay::kMarkerGreen : overlay::kMarkerWhite);
    }
    // The brackets, like the model, follow the ship wherever a flight left it.
    vm::Vec4 min, max;
    if (selectionBounds(model, min, max)) {
        r.setWorld(shown);
        drawSegments(r, overlay::selectionBrackets(min, max));
        r.setWorld(vm::identity());
    }
    const vm::Mat4 frame = cameraFrame(orbitCamera, editorState.loc ? 0 : viewport);
    drawPlacingGuides(r, model, shown, frame, hot);
    if (editorState.grid) {
        r.setWorld(frame);
        drawSegments(r, overlay::cameraSketch(orbitCamera.radius(), aspect));
    }
    drawRotateGizmo(r, world);
}

void drawPendingNet() {
    if (!application.renderer || editorState.pendingPoints.empty()) return;
    std::vector<vm::Vec4> points;
    for (const auto& p : editorState.pendingPoints) {
        vm::Vec4 v = p->position();
        v.w = 1;
        points.push_back(v);
    }
    application.renderer->setWorld(vm::identity());
    drawSegments(*application.renderer, overlay::pendingNet(points));
}
