#include "ui/win32/tool-overlays.h"

#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "editor/edit-xform.h"
#include "editor/overlay-geometry.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "flight/vaisseau.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/gpu-model-copy.h"
#include "ui/palette-buttons.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/shape-window-handles.h"
#include "view/orbit-camera.h"

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

} // namespace

void ToolOverlays::drawRotateGizmo(Renderer& r, const vm::Mat4& world) {
    if (!p_.palette.toolbar ||
        !SendMessageA(p_.palette.toolbar, TB_ISBUTTONCHECKED, palette::Rotate, 0))
        return;
    const float radius = 0.47f * p_.camera.radius();
    const bool inProgress = p_.editor.startAngle > 0;
    const float a = inProgress ? p_.editor.startAngle : 0;
    // About the line through the pivot along the held axis (the vertical when none is), the
    // ring's first point at angle a.
    r.setWorld(vm::scaling(radius, radius, radius) * vm::rotationY(-a) * axisFrame(heldAxis()) *
               vm::translation(p_.editor.pivot) * world);
    r.drawGizmo(gizmoSegments(p_.editor.sweepAngle), inProgress);
    r.drawArrow(
        {0, 0, 0, 1},
        {1.3f * std::cos(p_.editor.sweepAngle), 0, 1.3f * std::sin(p_.editor.sweepAngle), 1},
        {0.17f, 0.8f, 0.2f, 0});
}

// The chosen points, each a small cube in the chosen colour; past a few thousand only the
// first are marked (the count is in the status bar's selection report).
void ToolOverlays::drawChosenPoints(Renderer& r, const Model& model, const vm::Mat4& world) {
    constexpr size_t kMostMarked = 4096;
    for (uint32_t i : p_.editor.chosenPoints.indices(kMostMarked)) {
        if (i >= model.points.size()) break;
        r.drawCube(overlay::kMarkerChosen,
                   vm::transform(pointAt(model, static_cast<int>(i)), world), kMarkerSize);
    }
}

// The pivot the user set, and during a drag of points the pivot in use (white), with the
// axis it is held to (X, Y or Z down) through it in the axis' colour; a scale drag joins the
// pivot to the points' first one, which grows and shrinks with them.
void ToolOverlays::drawPivotAndAxis(Renderer& r, const Model& model, const vm::Mat4& world) {
    if (p_.editor.chosenPivot)
        r.drawCube(overlay::kMarkerWhite, vm::transform(*p_.editor.chosenPivot, world),
                   2 * kMarkerSize);
    if (!pointGestureUnderWay(p_.editor)) return;
    const vm::Vec4 pivot{p_.editor.pivot.x, p_.editor.pivot.y, p_.editor.pivot.z, 1};
    r.drawCube(overlay::kMarkerWhite, vm::transform(pivot, world), 2 * kMarkerSize);
    r.setWorld(world);
    const uint32_t first = p_.editor.pointGesture.points.front();
    if (p_.editor.tool == Tool::Scale && first < model.points.size())
        r.drawSegment(pivot, pointAt(model, static_cast<int>(first)), overlay::kMarkerWhite);
    r.setWorld(vm::identity());
    const Axis axis = heldAxis();
    if (axis == Axis::Free) return;
    const vm::Vec4 colour = unitAlong(axis), along = colour * p_.camera.radius();
    r.setWorld(world);
    r.drawSegment(pivot - along, pivot + along, colour);
    r.setWorld(vm::identity());
}

// The joins display: the shared edges in their shades, the lines made again only after the
// model changed, and not while a drag is moving it (a large model's lines take a while).
void ToolOverlays::drawJoins(Renderer& r, const Model& model, const vm::Mat4& world) {
    Joins& joins = joins_;
    const bool dragging = p_.editor.transformDrag || p_.editor.draggedPoint >= 0;
    const uint64_t revision = p_.copy.revision();
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
void ToolOverlays::drawPointMarkers(Renderer& r, const Model& model, const vm::Mat4& world,
                                    bool hot) {
    if (p_.editor.choosingPoints) drawChosenPoints(r, model, world);
    if (hot)
        r.drawCube(p_.editor.pointMoved ? overlay::kMarkerBlue : overlay::kMarkerWhite,
                   vm::transform(pointAt(model, p_.editor.hoveredPoint), world), kMarkerSize);
    if (p_.shape.pointList) {
        const int s = static_cast<int>(SendMessageA(p_.shape.pointList, LB_GETCURSEL, 0, 0));
        if (s >= 0 && static_cast<size_t>(s) < model.points.size() &&
            (!hot || p_.editor.hoveredPoint != s))
            r.drawCube(overlay::kMarkerGreen, vm::transform(pointAt(model, s), world), kMarkerSize);
    }
    r.setWorld(vm::identity());
}

// The rubber band: its corners on the near plane, taken back into the world.
void ToolOverlays::drawRubberBand(Renderer& r) {
    r.setWorld(vm::identity());
    const vm::Mat4 back = vm::inverse(r.viewProjection());
    const float x0 = p_.editor.bandX0, y0 = p_.editor.bandY0;
    const float x1 = p_.editor.bandX1, y1 = p_.editor.bandY1;
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
void ToolOverlays::drawPlacingGuides(Renderer& r, const Model& model, const vm::Mat4& world,
                                     const vm::Mat4& frame, bool hot) {
    if (p_.editor.tool == Tool::Add || p_.editor.tool == Tool::Locator) {
        const vm::Vec4 p = hot ? pointAt(model, p_.editor.hoveredPoint) : p_.editor.cursor;
        vm::Vec4 a, b;
        overlay::guideFeet(p, frame, &a, &b);
        const vm::Vec4 colour = hot ? overlay::kGuideHot : overlay::kBracket;
        r.drawSegment(b, p, colour);
        r.drawSegment(a, p, colour);
    }
    if (p_.editor.tool == Tool::Locator)
        for (const Model::Locator& locator : model.locators) {
            r.setWorld(vm::rotationQuaternion(locator.orientation) *
                       vm::translation(locator.position) * world);
            r.drawArrow({0, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 0});
            r.drawArrow({0, 0, 0, 1}, {0, 1, 0, 1}, {0, 1, 0, 0});
            r.drawArrow({0, 0, 0, 1}, {0, 0, 1, 1}, {0, 0, 1, 0});
        }
}

void ToolOverlays::draw(int viewport, float aspect) {
    if (!p_.renderer || !p_.editor.modelReady) return;
    Renderer& r = *p_.renderer;
    const Model& model = p_.model;
    vm::Mat4 world;
    p_.ship.worldMatrix(world);
    const bool hot = p_.editor.hotPoint && p_.editor.hoveredPoint >= 0 &&
                     static_cast<size_t>(p_.editor.hoveredPoint) < model.points.size();

    // What the view shows of the points: with a rotate or translate drag's change under way.
    const vm::Mat4 shown = displayMatrix(p_.editor, world, false);
    drawPointMarkers(r, model, shown, hot);
    drawPivotAndAxis(r, model, world);
    if (p_.editor.showJoins) drawJoins(r, model, shown);
    if (p_.editor.banding && viewport == p_.editor.bandViewport) drawRubberBand(r);
    if (p_.editor.tool == Tool::Select) {
        const bool hit = p_.editor.hoveredPatch != -1;
        const float length = hit ? p_.editor.pickDistance : 1.2f * p_.camera.radius();
        r.drawArrow(p_.editor.pickRay.origin,
                    p_.editor.pickRay.origin + p_.editor.pickRay.direction * length,
                    hit ? overlay::kMarkerGreen : overlay::kMarkerWhite);
    }
    // The brackets, like the model, follow the ship wherever a flight left it.
    vm::Vec4 min, max;
    if (selectionBounds(model, min, max)) {
        r.setWorld(shown);
        drawSegments(r, overlay::selectionBrackets(min, max));
        r.setWorld(vm::identity());
    }
    const vm::Mat4 frame = cameraFrame(p_.camera, p_.editor.loc ? 0 : viewport);
    drawPlacingGuides(r, model, shown, frame, hot);
    if (p_.editor.grid) {
        r.setWorld(frame);
        drawSegments(r, overlay::cameraSketch(p_.camera.radius(), aspect));
    }
    drawRotateGizmo(r, world);
}

void ToolOverlays::drawPendingNet() {
    if (!p_.renderer || p_.editor.pendingPoints.empty()) return;
    std::vector<vm::Vec4> points;
    for (const auto& p : p_.editor.pendingPoints) {
        vm::Vec4 v = p->position();
        v.w = 1;
        points.push_back(v);
    }
    p_.renderer->setWorld(vm::identity());
    drawSegments(*p_.renderer, overlay::pendingNet(points));
}
