#include "ui/win32/mouse-handler.h"
#include "ui/win32/status-bar.h"

#include "core/win32/key-state.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "core/win32/input-timing.h"
#include "editor/box-selection.h"
#include "editor/chosen-points-drag.h"
#include "editor/coordinate-text.h"
#include "editor/edit-xform.h"
#include "editor/locators.h"
#include "editor/pending-points.h"
#include "editor/pick-accelerator.h"
#include "editor/picking.h"
#include "editor/point-selection.h"
#include "editor/selection.h"
#include "editor/size-tolerance.h"
#include "editor/snapping.h"
#include "graphics/d3d11/renderer.h"
#include "model/bezier-surface.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/palette.h"
#include "ui/win32/records.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/window-layout.h"

namespace {

// The model's size, which the readouts' precision follows: measured again when it changed,
// at most once a second (a drag changes it every move, its order of size seldom).
float readoutSize() {
    constexpr ULONGLONG kMeasureEvery = 1000; // ms
    static uint64_t measured = UINT64_MAX;
    static ULONGLONG measuredAt = 0;
    static float size = 1;
    const ULONGLONG now = GetTickCount64();
    if (application.shipCopy.revision() != measured && now - measuredAt >= kMeasureEvery) {
        measured = application.shipCopy.revision();
        measuredAt = now;
        const float extent = extentOf(editedModel().points);
        size = extent > 0 ? extent : 1;
    }
    return size;
}

// A point in a part, labelled: the cursor-relative part by its offsets from the target.
// In flight the parts are the flight's.
void setStatus(StatusPart part, vm::Vec4 v) {
    if (editorState.mode == Mode::Flight) return;
    setStatusText(part, part == StatusPart::CursorRelative
                            ? coordinatesText(v, readoutSize(), "dx", "dy", "dz")
                            : coordinatesText(v, readoutSize()));
}

vm::Mat4 entityWorld() {
    vm::Mat4 world;
    editorState.currentEntity->worldMatrix(world);
    return world;
}

bool paletteChecked(int id) {
    return application.palette.toolbar &&
           SendMessageA(application.palette.toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id),
                        0);
}

bool pointButtonDown() {
    return paletteChecked(palette::Dissociate) || paletteChecked(palette::Joint);
}

vm::Mat4 viewProjectionOf(int viewport, float aspect) {
    const vm::Mat4 perspective =
        application.renderer ? application.renderer->projection() : vm::identity();
    return orbitCamera.viewMatrixOf(viewport) *
           orbitCamera.projectionOf(viewport, aspect, perspective);
}

} // namespace

vm::Mat4 worldViewProjectionOf(int viewport, float aspect) {
    return entityWorld() * viewProjectionOf(viewport, aspect);
}

namespace {

void hoverPick(const ViewportHit& hit) {
    Model& model = editedModel();
    application.pickAccelerator.follow(application.shipCopy.revision());
    const vm::Mat4 viewProjection = viewProjectionOf(hit.viewport, hit.aspect);
    if (editorState.tool == Tool::Select) {
        PatchPick pick =
            application.pickAccelerator.pickPatch(model, entityWorld(), orbitCamera, hit);
        editorState.pickRay = {pick.origin, pick.direction};
        editorState.pickDistance = pick.distance;
        editorState.hoveredPatch = pick.patch;
    }
    // Points are picked where a click works on them: the tools that take points, the select
    // tool choosing points, and any tool while dissociate or joint waits for its click.
    // Elsewhere none is hot.
    const bool choosing = editorState.tool == Tool::Select && editorState.choosingPoints;
    if ((editorState.tool != Tool::Select && editorState.tool != Tool::Locator) || choosing ||
        pointButtonDown()) {
        PointPick pick = application.pickAccelerator.pickPoint(
            model, entityWorld(), viewProjection, editorState.useCount, hit.nx, hit.ny);
        editorState.hoveredPoint = pick.index;
        editorState.hotPoint = pick.hot;
    } else {
        editorState.hoveredPoint = -1;
        editorState.hotPoint = false;
    }
}

void showGroundPoint(vm::Vec4 g) {
    if (editorState.mode == Mode::Flight) return;
    setStatusText(StatusPart::Cursor,
                  "u " + lengthText(g.x, readoutSize()) + "  v " + lengthText(g.z, readoutSize()));
}

// The point a rotate or translate drag is measured at, with its readout: on the ground, or
// across the view when the drag began with the ground edge-on. Nothing (and no readout)
// when it cannot be reached, so no undefined value reaches the tools.
std::optional<vm::Vec4> ground(const ViewportHit& hit) {
    std::optional<vm::Vec4> g = dragPlanePoint(orbitCamera, hit, editorState.dragOnViewPlane);
    if (g) showGroundPoint(*g);
    return g;
}

// At a rotate or translate press: the ground when it is in front of the eye, else the
// plane facing the viewer (the start-up camera's eye lies on the ground), said in the
// status bar. False, with the reason, when neither is under the mouse: no drag starts.
bool chooseDragPlane(const ViewportHit& hit) {
    editorState.dragOnViewPlane = !groundPoint(orbitCamera, hit);
    if (!editorState.dragOnViewPlane) return true;
    if (dragPlanePoint(orbitCamera, hit, true)) {
        setStatusText(StatusPart::Message,
                      "ground edge-on: moving across the view (orbit to look down on it)");
        return true;
    }
    setStatusText(StatusPart::Message,
                  "nothing to drag on under the mouse: orbit to look down on the ground");
    return false;
}

// The mouse's angle about the pivot, measured in the model's own space: after a flight the
// ship (and the model with it) may be anywhere, turned any way.
float angleAroundPivot(vm::Vec4 groundPoint) {
    vm::Mat4 world;
    editorState.currentEntity->worldMatrix(world);
    vm::Vec4 local = vm::transformCoord(vm::point(groundPoint.x, groundPoint.y, groundPoint.z),
                                        vm::inverse(world));
    local.w = 0;
    return mouseAngle(local - editorState.pivot);
}

// Ctrl held during a drag or an add-tool click: positions on the grid, angles by 15°,
// scale factors by 0.1.
bool controlHeld = false; // with the mouse message being handled (its MK_CONTROL)

bool snapping() {
    const bool on = controlHeld;
    if (on) {
        char text[64];
        std::snprintf(text, sizeof text, "snapping: grid %g, angles 15\xB0, factors 0.1",
                      static_cast<double>(editorState.snapStep));
        setStatusText(StatusPart::Message, text);
    }
    return on;
}

// A press of the rotate, translate or scale tool with something to move: the points are
// noted (and, for a turn or a scale, the pivot goes to their centre before the angle or the
// distance is measured from it).
void beginSubjectDrag(bool aboutPivot) {
    Model& model = editedModel();
    std::vector<uint32_t> subject = dragSubject(editorState, model);
    if (subject.empty()) return;
    if (aboutPivot) {
        editorState.pivot = editorState.chosenPivot.value_or(centreOf(model, subject));
        editorState.pivot.w = 0;
    }
    beginPointGesture(editorState, model, std::move(subject));
    document().beginGesture();
}

// A step of such a drag: the points follow, the GPU copy takes only them.
void stepSubjectDrag() {
    if (!pointGestureUnderWay(editorState)) return;
    document().preview(
        [](Model& model) { return stepPointGesture(editorState, model, heldAxis()); });
    if (editorState.pointGesture.held > 0)
        setStatusText(StatusPart::Message, std::to_string(editorState.pointGesture.held) +
                                               " points on the mirror plane stay on it");
}

// How far the mouse is from the pivot on the screen, in pixels: what a scale drag measures.
float pixelsFromPivot(const ViewportHit& hit) {
    const vm::Vec4 at = vm::transformCoord(
        vm::point(editorState.pivot.x, editorState.pivot.y, editorState.pivot.z), entityWorld());
    const ScreenPoint s =
        projectToScreen({at.x, at.y, at.z}, viewProjectionOf(hit.viewport, hit.aspect));
    const float dx = (hit.nx - s.x) * 0.5f * static_cast<float>(hit.width);
    const float dy = (hit.ny - s.y) * 0.5f * static_cast<float>(hit.height);
    return std::sqrt(dx * dx + dy * dy);
}

// The rotate drag's angle at the mouse: about the pivot on the ground, or, with the ground
// edge-on, from the mouse's place across the viewport (its width is a whole turn): every
// point of the plane facing the viewer lies on one line through the pivot.
std::optional<float> rotateAngleAt(const ViewportHit& hit) {
    if (editorState.dragOnViewPlane) return std::clamp(vm::kPi * (hit.nx + 1), 1e-6f, vm::kTwoPi);
    if (auto g = ground(hit)) return angleAroundPivot(*g);
    return std::nullopt;
}

// The no-tool drag of the hot point: under the mouse at its depth.
void movePoint(const ViewportHit& hit, int index) {
    const Model& model = editedModel();
    if (index < 0 || static_cast<size_t>(index) >= model.points.size()) return;
    application.inputTiming.start("point drag");
    const auto moved = static_cast<uint32_t>(index);
    vm::Float3 to = draggedPointPosition(orbitCamera, hit, entityWorld(), model.points[moved]);
    if (snapping()) to = snap::toGrid(to, editorState.snapStep);
    application.session.dragPoint(moved, to); // the shape window follows the document
}

void setPaletteButton(int id, int state) {
    SendMessageA(application.palette.toolbar, TB_SETSTATE, static_cast<WPARAM>(id),
                 MAKELPARAM(state, 0));
}

// The dissociate and joint buttons take the click before any tool. Returns true when one of
// them is down. Clicks away from a hot point do nothing and leave the button down.
bool pointButtonClick(const ViewportHit& hit) {
    if (!pointButtonDown()) return false;
    hoverPick(hit); // the press itself is where the user points
    if (paletteChecked(palette::Dissociate)) {
        if (editorState.hotPoint && editorState.hoveredPoint != -1 &&
            dissociateCommand(editorState.hoveredPoint))
            setPaletteButton(palette::Dissociate, TBSTATE_ENABLED);
        return true;
    }
    if (!editorState.hotPoint) return true;
    if (editorState.firstJointPoint == -1) {
        editorState.firstJointPoint = editorState.hoveredPoint;
    } else if (jointCommand()) {
        editorState.firstJointPoint = -1;
        setPaletteButton(palette::Joint, TBSTATE_ENABLED);
    }
    updateJointButton();
    return true;
}

void toolPress(const ViewportHit& hit) {
    switch (editorState.tool) {
    case Tool::None:
        hoverPick(hit);
        if (editorState.hoveredPoint != -1 && editorState.hotPoint && application.shape.pointList)
            SendMessageA(application.shape.pointList, LB_SETCURSEL,
                         static_cast<WPARAM>(editorState.hoveredPoint), 0);
        break;
    case Tool::Add: {
        // A point that is not a number would end the file where it is saved: never made.
        if (!isFinitePoint(cursorPoint(orbitCamera, hit)) && !editorState.hotPoint) break;
        vm::Vec4 at = cursorPoint(orbitCamera, hit);
        if (snapping()) at = snap::toGrid(at, editorState.snapStep);
        application.session.addPoint(at);
        updateTakeBackButton();
        break;
    }
    case Tool::Select: {
        application.inputTiming.start("selection click");
        const ClickModifiers modifiers{keyDown(VK_CONTROL), keyDown(VK_SHIFT)};
        const bool points = editorState.choosingPoints;
        // A plain press on a chosen point drags the chosen points; the release is one step.
        if (points && editorState.hotPoint && !modifiers.control && !modifiers.shift &&
            editorState.hoveredPoint >= 0 &&
            beginChosenPointsDrag(editorState, editedModel(),
                                  static_cast<uint32_t>(editorState.hoveredPoint))) {
            document().beginGesture();
            setStatusText(StatusPart::Message,
                          "moving " + std::to_string(editorState.pointGesture.points.size()) +
                              " chosen points (Escape puts them back)");
            break;
        }
        if (points)
            application.session.clickPoint(editorState.hotPoint ? editorState.hoveredPoint : -1,
                                           modifiers);
        else
            application.session.clickPatch(editorState.hoveredPatch, modifiers);
        // A press on empty space starts a rubber band (Shift and a drag orbit, as always).
        const bool onNothing = points ? !editorState.hotPoint : editorState.hoveredPatch == -1;
        if (onNothing && !keyDown(VK_SHIFT)) {
            editorState.banding = true;
            editorState.bandViewport = hit.viewport;
            editorState.bandX0 = editorState.bandX1 = hit.nx;
            editorState.bandY0 = editorState.bandY1 = hit.ny;
        }
        break;
    }
    case Tool::Rotate:
        commitPreview();
        if (!chooseDragPlane(hit)) break;
        beginSubjectDrag(true);
        if (auto a = rotateAngleAt(hit)) {
            editorState.startAngle = *a;
            editorState.sweepAngle = 0;
            editorState.transformDrag = true;
        } else if (pointGestureUnderWay(editorState)) {
            // No angle to measure from here: nothing was moved, nothing is kept.
            endPointGesture(editorState);
            document().endGesture("Rotate points");
        }
        break;
    case Tool::Translate:
        commitPreview();
        if (!editorState.handleHot && !chooseDragPlane(hit)) break;
        if (auto p = editorState.handleHot ? translatePoint(orbitCamera, hit, true, false)
                                           : ground(hit)) {
            editorState.dragStart = *p;
            editorState.translation = {};
            editorState.transformDrag = true;
            beginSubjectDrag(false);
        }
        break;
    case Tool::Scale:
        commitPreview();
        beginSubjectDrag(true);
        if (!pointGestureUnderWay(editorState)) break; // an empty model
        editorState.scaleFrom = pixelsFromPivot(hit);
        editorState.scaleFactor = 1;
        editorState.transformDrag = true;
        break;
    case Tool::Locator: {
        if (!isFinitePoint(cursorPoint(orbitCamera, hit))) break;
        editDocument("Locator", [&](Model& model) {
            addLocator(model, cursorPoint(orbitCamera, hit));
            return true;
        });
        break;
    }
    }
}

// The rubber band's release: the patches wholly inside it, selected as a click would
// (Shift held at the release adds them, Control toggles them). A band of a few pixels is a
// click, already handled at the press.
void finishBand(const ViewportHit& hit) {
    editorState.banding = false;
    const float dx = (editorState.bandX1 - editorState.bandX0) * static_cast<float>(hit.width);
    const float dy = (editorState.bandY1 - editorState.bandY0) * static_cast<float>(hit.height);
    if (dx * dx + dy * dy < 4 * 4 * 4) return; // under about 4 pixels
    application.inputTiming.start("box selection");
    Model& model = editedModel();
    const vm::Mat4 m = entityWorld() * viewProjectionOf(editorState.bandViewport, hit.aspect);
    const ScreenBox box{editorState.bandX0, editorState.bandY0, editorState.bandX1,
                        editorState.bandY1};
    const ClickModifiers modifiers{keyDown(VK_CONTROL), keyDown(VK_SHIFT)};
    if (editorState.choosingPoints)
        application.session.choosePoints(pointsInBox(model, m, box), modifiers, "box");
    else
        application.session.selectPatchesInBox(patchesInBox(model, m, box), modifiers);
}

} // namespace

Axis heldAxis() {
    if (keyDown('X')) return Axis::X;
    if (keyDown('Y')) return Axis::Y;
    if (keyDown('Z')) return Axis::Z;
    return Axis::Free;
}

std::optional<PatchSpot> patchUnderPointer() {
    if (!editorState.currentEntity || !application.mainWindow) return std::nullopt;
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(application.mainWindow, &at);
    RECT client;
    GetClientRect(application.mainWindow, &client);
    const ViewArea area = viewArea(client.right, client.bottom);
    if (at.x < 0 || at.x >= area.width || at.y < area.top || at.y >= area.top + area.height)
        return std::nullopt;
    const ViewportHit hit =
        locateViewport(at.x, at.y - area.top, area.width, area.height, isQuadLayout());
    const Model& model = editedModel();
    application.pickAccelerator.follow(application.shipCopy.revision());
    const PatchPick pick =
        application.pickAccelerator.pickPatch(model, entityWorld(), orbitCamera, hit);
    if (pick.patch < 0) return std::nullopt;
    const vm::Vec4 hitAt = pick.origin + pick.direction * pick.distance;
    const vm::Vec4 onNet =
        vm::transformCoord(vm::point(hitAt.x, hitAt.y, hitAt.z), vm::inverse(entityWorld()));
    PatchSpot spot;
    spot.patch = static_cast<uint32_t>(pick.patch);
    bezier::nearestParameters(bezier::controlPoints(model, model.patches[spot.patch]),
                              {onNet.x, onNet.y, onNet.z}, spot.u, spot.v);
    return spot;
}

namespace {

// What the mouse shows as it moves without a drag under way: the cursor point, the rotate
// gizmo's angle, the translate handle under it, the readout.
void trackMouse(const ViewportHit& hit, WPARAM wParam) {
    if (editorState.tool == Tool::Add || editorState.tool == Tool::Locator) {
        editorState.cursor = cursorPoint(orbitCamera, hit);
        setStatus(StatusPart::Cursor, editorState.cursor);
    } else if (editorState.tool == Tool::Rotate && !editorState.transformDrag) {
        // Before a press the gizmo shows the mouse's angle.
        if (auto g = groundPoint(orbitCamera, hit)) {
            showGroundPoint(*g);
            editorState.sweepAngle = angleAroundPivot(*g);
        }
    } else if (editorState.tool == Tool::Translate && !(wParam & MK_LBUTTON)) {
        editorState.handleHot =
            handleUnderMouse(orbitCamera, viewProjectionOf(hit.viewport, hit.aspect), hit);
    }
    setStatus(StatusPart::CursorRelative,
              cursorReadout(orbitCamera, hit.viewport, editorState.cursor));
}

// A move with the left button held: orbiting, a rubber band, a point, or a rotate or
// translate drag.
void dragWithLeftButton(const ViewportHit& hit, WPARAM wParam, int mx, int my) {
    if ((wParam & MK_SHIFT) ||
        (editorState.tool == Tool::None && !editorState.hotPoint && editorState.draggedPoint < 0)) {
        orbitCamera.orbit(mx - editorState.lastMouseX, my - editorState.lastMouseY, hit.width,
                          hit.height);
    } else if (editorState.tool == Tool::Select && pointGestureUnderWay(editorState)) {
        const bool snap = snapping();
        editorState.translation =
            chosenPointsOffset(editorState, orbitCamera, hit, entityWorld(),
                               snap ? std::optional<float>(editorState.snapStep) : std::nullopt);
        stepSubjectDrag();
    } else if (editorState.banding) {
        if (hit.viewport == editorState.bandViewport) {
            editorState.bandX1 = std::clamp(hit.nx, -1.0f, 1.0f);
            editorState.bandY1 = std::clamp(hit.ny, -1.0f, 1.0f);
        }
    } else if (editorState.tool == Tool::None) {
        movePoint(hit, editorState.draggedPoint >= 0 ? editorState.draggedPoint
                                                     : editorState.hoveredPoint);
    } else if (editorState.tool == Tool::Rotate && editorState.transformDrag) {
        if (auto a = rotateAngleAt(hit)) {
            editorState.sweepAngle = sweptAngle(editorState.startAngle, *a);
            if (snapping()) editorState.sweepAngle = snap::toAngle(editorState.sweepAngle);
            stepSubjectDrag();
        }
    } else if (editorState.tool == Tool::Scale && editorState.transformDrag) {
        float factor = dragScaleFactor(editorState.scaleFrom, pixelsFromPivot(hit));
        if (snapping()) factor = snapFactor(factor);
        editorState.scaleFactor = factor;
        char text[64];
        std::snprintf(text, sizeof text, "scale %.3g", static_cast<double>(factor));
        setStatusText(StatusPart::Message, text);
        stepSubjectDrag();
    } else if (editorState.tool == Tool::Translate && editorState.transformDrag) {
        if (auto p = editorState.handleHot ? translatePoint(orbitCamera, hit, true, false)
                                           : ground(hit)) {
            editorState.translation = *p - editorState.dragStart;
            editorState.translation.w = 0;
            if (snapping())
                editorState.translation =
                    snap::toGrid(editorState.translation, editorState.snapStep);
            setStatus(StatusPart::Message, *p);
            stepSubjectDrag();
        }
    }
    editorState.lastMouseX = mx;
    editorState.lastMouseY = my;
}

} // namespace

bool handleViewMouse(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP &&
        message != WM_RBUTTONDOWN && message != WM_RBUTTONUP)
        return false;
    if (!editorState.currentEntity) return true;
    RECT client;
    GetClientRect(mainWindow, &client);
    const ViewArea area = viewArea(client.right, client.bottom);
    const int mx = static_cast<short>(LOWORD(lParam));
    const int my = static_cast<short>(HIWORD(lParam)) - area.top;
    const ViewportHit hit = locateViewport(mx, my, area.width, area.height, isQuadLayout());
    controlHeld = (wParam & MK_CONTROL) != 0;
    const SettingsFile& settings = sessionSettings();

    switch (message) {
    case WM_MOUSEMOVE:
        editorState.pointMoved = false;
        if (wParam & MK_RBUTTON) {
            orbitCamera.panTo(editorState.panStartX, editorState.panStartY, editorState.panViewport,
                              mx, my, hit.width, hit.height);
            setStatus(StatusPart::Message, orbitCamera.target());
        }
        trackMouse(hit, wParam);
        if ((wParam & MK_LBUTTON) && !editorState.leftDragCancelled)
            dragWithLeftButton(hit, wParam, mx, my);
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON))) hoverPick(hit);
        return true;
    case WM_LBUTTONDOWN:
        editorState.leftDragCancelled = false;
        editorState.lastMouseX = mx;
        editorState.lastMouseY = my;
        if (!pointButtonClick(hit)) toolPress(hit);
        return true;
    case WM_LBUTTONUP:
        orbitCamera.commitRotation(settings);
        // A drag is one step: the rotation or translation goes into the points now.
        if (editorState.transformDrag) commitPreview();
        finishPointDrag();
        if (editorState.banding) finishBand(hit);
        return true;
    case WM_RBUTTONDOWN:
        editorState.panStartX = mx;
        editorState.panStartY = my;
        editorState.panViewport = hit.viewport;
        return true;
    case WM_RBUTTONUP:
        orbitCamera.commitPan(settings);
        return true;
    }
    return true;
}
