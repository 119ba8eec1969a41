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
#include "ui/win32/records.h"
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
    if (!palette_.toolbar ||
        !SendMessageA(palette_.toolbar, TB_ISBUTTONCHECKED, palette::Rotate, 0))
        return;
    const float radius = 0.47f * camera_.radius();
    const bool inProgress = editor_.startAngle > 0;
    const float a = inProgress ? editor_.startAngle : 0;
    // About the line through the pivot along the held axis (the vertical when none is), the
    // ring's first point at angle a.
    r.setWorld(vm::scaling(radius, radius, radius) * vm::rotationY(-a) * axisFrame(heldAxis()) *
               vm::translation(editor_.pivot) * world);
    r.drawGizmo(gizmoSegments(editor_.sweepAngle), inProgress);
    r.drawArrow({0, 0, 0, 1},
                {1.3f * std::cos(editor_.sweepAngle), 0, 1.3f * std::sin(editor_.sweepAngle), 1},
                {0.17f, 0.8f, 0.2f, 0});
}

// The chosen points, each a small cube in the chosen colour; past a few thousand only the
// first are marked (the count is in the status bar's selection report).
void ToolOverlays::drawChosenPoints(Renderer& r, const Model& model, const vm::Mat4& world) {
    constexpr size_t kMostMarked = 4096;
    for (uint32_t i : editor_.chosenPoints.indices(kMostMarked)) {
        if (i >= model.points.size()) break;
        r.drawCube(overlay::kMarkerChosen,
                   vm::transform(pointAt(model, static_cast<int>(i)), world), kMarkerSize);
    }
}

// The pivot the user set, and during a drag of points the pivot in use (white), with the
// axis it is held to (X, Y or Z down) through it in the axis' colour; a scale drag joins the
// pivot to the points' first one, which grows and shrinks with them.
void ToolOverlays::drawPivotAndAxis(Renderer& r, const Model& model, const vm::Mat4& world) {
    if (editor_.chosenPivot)
        r.drawCube(overlay::kMarkerWhite, vm::transform(*editor_.chosenPivot, world),
                   2 * kMarkerSize);
    if (!pointGestureUnderWay(editor_)) return;
    const vm::Vec4 pivot{editor_.pivot.x, editor_.pivot.y, editor_.pivot.z, 1};
    r.drawCube(overlay::kMarkerWhite, vm::transform(pivot, world), 2 * kMarkerSize);
    r.setWorld(world);
    const uint32_t first = editor_.pointGesture.points.front();
    if (editor_.tool == Tool::Scale && first < model.points.size())
        r.drawSegment(pivot, pointAt(model, static_cast<int>(first)), overlay::kMarkerWhite);
    r.setWorld(vm::identity());
    const Axis axis = heldAxis();
    if (axis == Axis::Free) return;
    const vm::Vec4 colour = unitAlong(axis), along = colour * camera_.radius();
    r.setWorld(world);
    r.drawSegment(pivot - along, pivot + along, colour);
    r.setWorld(vm::identity());
}

// The joins display: the shared edges in their shades, the lines made again only after the
// model changed, and not while a drag is moving it (a large model's lines take a while).
void ToolOverlays::drawJoins(Renderer& r, const Model& model, const vm::Mat4& world) {
    Joins& joins = joins_;
    const bool dragging = editor_.transformDrag || editor_.draggedPoint >= 0;
    const uint64_t revision = copy_.revision();
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
    if (editor_.choosingPoints) drawChosenPoints(r, model, world);
    if (hot)
        r.drawCube(editor_.pointMoved ? overlay::kMarkerBlue : overlay::kMarkerWhite,
                   vm::transform(pointAt(model, editor_.hoveredPoint), world), kMarkerSize);
    if (shape_.pointList) {
        const int s = static_cast<int>(SendMessageA(shape_.pointList, LB_GETCURSEL, 0, 0));
        if (s >= 0 && static_cast<size_t>(s) < model.points.size() &&
            (!hot || editor_.hoveredPoint != s))
            r.drawCube(overlay::kMarkerGreen, vm::transform(pointAt(model, s), world), kMarkerSize);
    }
    r.setWorld(vm::identity());
}

// The rubber band: its corners on the near plane, taken back into the world.
void ToolOverlays::drawRubberBand(Renderer& r) {
    r.setWorld(vm::identity());
    const vm::Mat4 back = vm::inverse(r.viewProjection());
    const float x0 = editor_.bandX0, y0 = editor_.bandY0;
    const float x1 = editor_.bandX1, y1 = editor_.bandY1;
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
    if (editor_.tool == Tool::Add || editor_.tool == Tool::Locator) {
        const vm::Vec4 p = hot ? pointAt(model, editor_.hoveredPoint) : editor_.cursor;
        vm::Vec4 a, b;
        overlay::guideFeet(p, frame, &a, &b);
        const vm::Vec4 colour = hot ? overlay::kGuideHot : overlay::kBracket;
        r.drawSegment(b, p, colour);
        r.drawSegment(a, p, colour);
    }
    if (editor_.tool == Tool::Locator)
        for (const Model::Locator& locator : model.locators) {
            r.setWorld(vm::rotationQuaternion(locator.orientation) *
                       vm::translation(locator.position) * world);
            r.drawArrow({0, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 0});
            r.drawArrow({0, 0, 0, 1}, {0, 1, 0, 1}, {0, 1, 0, 0});
            r.drawArrow({0, 0, 0, 1}, {0, 0, 1, 1}, {0, 0, 1, 0});
        }
}

void ToolOverlays::draw(int viewport, float aspect) {
    if (!renderer_ || !editor_.currentEntity) return;
    Renderer& r = *renderer_;
    const Model& model = model_;
    vm::Mat4 world;
    ship_.worldMatrix(world);
    const bool hot = editor_.hotPoint && editor_.hoveredPoint >= 0 &&
                     static_cast<size_t>(editor_.hoveredPoint) < model.points.size();

    // What the view shows of the points: with a rotate or translate drag's change under way.
    const vm::Mat4 shown = displayMatrix(editor_, world, false);
    drawPointMarkers(r, model, shown, hot);
    drawPivotAndAxis(r, model, world);
    if (editor_.showJoins) drawJoins(r, model, shown);
    if (editor_.banding && viewport == editor_.bandViewport) drawRubberBand(r);
    if (editor_.tool == Tool::Select) {
        const bool hit = editor_.hoveredPatch != -1;
        const float length = hit ? editor_.pickDistance : 1.2f * camera_.radius();
        r.drawArrow(editor_.pickRay.origin,
                    editor_.pickRay.origin + editor_.pickRay.direction * length,
                    hit ? overlay::kMarkerGreen : overlay::kMarkerWhite);
    }
    // The brackets, like the model, follow the ship wherever a flight left it.
    vm::Vec4 min, max;
    if (selectionBounds(model, min, max)) {
        r.setWorld(shown);
        drawSegments(r, overlay::selectionBrackets(min, max));
        r.setWorld(vm::identity());
    }
    const vm::Mat4 frame = cameraFrame(camera_, editor_.loc ? 0 : viewport);
    drawPlacingGuides(r, model, shown, frame, hot);
    if (editor_.grid) {
        r.setWorld(frame);
        drawSegments(r, overlay::cameraSketch(camera_.radius(), aspect));
    }
    drawRotateGizmo(r, world);
}

void ToolOverlays::drawPendingNet() {
    if (!renderer_ || editor_.pendingPoints.empty()) return;
    std::vector<vm::Vec4> points;
    for (const auto& p : editor_.pendingPoints) {
        vm::Vec4 v = p->position();
        v.w = 1;
        points.push_back(v);
    }
    renderer_->setWorld(vm::identity());
    drawSegments(*renderer_, overlay::pendingNet(points));
}
