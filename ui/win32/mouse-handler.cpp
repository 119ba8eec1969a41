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
#include "editor/edit-session.h"
#include "editor/edit-xform.h"
#include "editor/locators.h"
#include "editor/pending-points.h"
#include "editor/pick-accelerator.h"
#include "editor/picking.h"
#include "editor/point-selection.h"
#include "editor/selection.h"
#include "editor/size-tolerance.h"
#include "editor/snapping.h"
#include "flight/vaisseau.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/gpu-model-copy.h"
#include "model/bezier-surface.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/palette.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/window-layout.h"
#include "view/orbit-camera.h"

ViewMouse::ViewMouse(const Parts& parts) : p_(parts), editor_(parts.session.state()) {}

Model& ViewMouse::model() {
    return p_.session.document().model();
}

// The model's size, which the readouts' precision follows: measured again when it changed,
// at most once a second (a drag changes it every move, its order of size seldom).
float ViewMouse::readoutSize() {
    constexpr ULONGLONG kMeasureEvery = 1000; // ms
    const ULONGLONG now = GetTickCount64();
    if (p_.copy.revision() != readout_.revision && now - readout_.at >= kMeasureEvery) {
        readout_.revision = p_.copy.revision();
        readout_.at = now;
        const float extent = extentOf(model().points);
        readout_.size = extent > 0 ? extent : 1;
    }
    return readout_.size;
}

// A point in a part, labelled: the cursor-relative part by its offsets from the target.
// In flight the parts are the flight's.
void ViewMouse::setStatus(StatusPart part, vm::Vec4 v) {
    if (editor_.mode == Mode::Flight) return;
    setStatusText(part, part == StatusPart::CursorRelative
                            ? coordinatesText(v, readoutSize(), "dx", "dy", "dz")
                            : coordinatesText(v, readoutSize()));
}

vm::Mat4 ViewMouse::entityWorld() {
    vm::Mat4 world;
    p_.ship.worldMatrix(world);
    return world;
}

bool ViewMouse::paletteChecked(int id) {
    return p_.palette.toolbar &&
           SendMessageA(p_.palette.toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0);
}

bool ViewMouse::pointButtonDown() {
    return paletteChecked(palette::Dissociate) || paletteChecked(palette::Joint);
}

vm::Mat4 ViewMouse::viewProjectionOf(int viewport, float aspect) {
    const vm::Mat4 perspective = p_.renderer ? p_.renderer->projection() : vm::identity();
    return p_.camera.viewMatrixOf(viewport) * p_.camera.projectionOf(viewport, aspect, perspective);
}

vm::Mat4 ViewMouse::worldViewProjectionOf(int viewport, float aspect) {
    return entityWorld() * viewProjectionOf(viewport, aspect);
}

void ViewMouse::hoverPick(const ViewportHit& hit) {
    Model& model = this->model();
    p_.picks.follow(p_.copy.revision());
    const vm::Mat4 viewProjection = viewProjectionOf(hit.viewport, hit.aspect);
    if (editor_.tool == Tool::Select) {
        PatchPick pick = p_.picks.pickPatch(model, entityWorld(), p_.camera, hit);
        editor_.pickRay = {pick.origin, pick.direction};
        editor_.pickDistance = pick.distance;
        editor_.hoveredPatch = pick.patch;
    }
    // Points are picked where a click works on them: the tools that take points, the select
    // tool choosing points, and any tool while dissociate or joint waits for its click.
    // Elsewhere none is hot.
    const bool choosing = editor_.tool == Tool::Select && editor_.choosingPoints;
    if ((editor_.tool != Tool::Select && editor_.tool != Tool::Locator) || choosing ||
        pointButtonDown()) {
        PointPick pick = p_.picks.pickPoint(model, entityWorld(), viewProjection, editor_.useCount,
                                            hit.nx, hit.ny);
        editor_.hoveredPoint = pick.index;
        editor_.hotPoint = pick.hot;
    } else {
        editor_.hoveredPoint = -1;
        editor_.hotPoint = false;
    }
}

void ViewMouse::showGroundPoint(vm::Vec4 g) {
    if (editor_.mode == Mode::Flight) return;
    setStatusText(StatusPart::Cursor,
                  "u " + lengthText(g.x, readoutSize()) + "  v " + lengthText(g.z, readoutSize()));
}

// The point a rotate or translate drag is measured at, with its readout: on the ground, or
// across the view when the drag began with the ground edge-on. Nothing (and no readout)
// when it cannot be reached, so no undefined value reaches the tools.
std::optional<vm::Vec4> ViewMouse::ground(const ViewportHit& hit) {
    std::optional<vm::Vec4> g = dragPlanePoint(p_.camera, hit, editor_.dragOnViewPlane);
    if (g) showGroundPoint(*g);
    return g;
}

// At a rotate or translate press: the ground when it is in front of the eye, else the
// plane facing the viewer (the start-up camera's eye lies on the ground), said in the
// status bar. False, with the reason, when neither is under the mouse: no drag starts.
bool ViewMouse::chooseDragPlane(const ViewportHit& hit) {
    editor_.dragOnViewPlane = !groundPoint(p_.camera, hit);
    if (!editor_.dragOnViewPlane) return true;
    if (dragPlanePoint(p_.camera, hit, true)) {
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
float ViewMouse::angleAroundPivot(vm::Vec4 groundPoint) {
    const vm::Mat4 world = entityWorld();
    vm::Vec4 local = vm::transformCoord(vm::point(groundPoint.x, groundPoint.y, groundPoint.z),
                                        vm::inverse(world));
    local.w = 0;
    return mouseAngle(local - editor_.pivot);
}

bool ViewMouse::snapping() {
    const bool on = controlHeld_;
    if (on) {
        char text[64];
        std::snprintf(text, sizeof text, "snapping: grid %g, angles 15\xB0, factors 0.1",
                      static_cast<double>(editor_.snapStep));
        setStatusText(StatusPart::Message, text);
    }
    return on;
}

// A press of the rotate, translate or scale tool with something to move: the points are
// noted (and, for a turn or a scale, the pivot goes to their centre before the angle or the
// distance is measured from it).
void ViewMouse::beginSubjectDrag(bool aboutPivot) {
    Model& model = this->model();
    std::vector<uint32_t> subject = dragSubject(editor_, model);
    if (subject.empty()) return;
    if (aboutPivot) {
        editor_.pivot = editor_.chosenPivot.value_or(centreOf(model, subject));
        editor_.pivot.w = 0;
    }
    beginPointGesture(editor_, model, std::move(subject));
    p_.session.document().beginGesture();
}

// A step of such a drag: the points follow, the GPU copy takes only them.
void ViewMouse::stepSubjectDrag() {
    if (!pointGestureUnderWay(editor_)) return;
    p_.session.document().preview(
        [this](Model& model) { return stepPointGesture(editor_, model, heldAxis()); });
    if (editor_.pointGesture.held > 0)
        setStatusText(StatusPart::Message, std::to_string(editor_.pointGesture.held) +
                                               " points on the mirror plane stay on it");
}

// How far the mouse is from the pivot on the screen, in pixels: what a scale drag measures.
float ViewMouse::pixelsFromPivot(const ViewportHit& hit) {
    const vm::Vec4 at = vm::transformCoord(
        vm::point(editor_.pivot.x, editor_.pivot.y, editor_.pivot.z), entityWorld());
    const ScreenPoint s =
        projectToScreen({at.x, at.y, at.z}, viewProjectionOf(hit.viewport, hit.aspect));
    const float dx = (hit.nx - s.x) * 0.5f * static_cast<float>(hit.width);
    const float dy = (hit.ny - s.y) * 0.5f * static_cast<float>(hit.height);
    return std::sqrt(dx * dx + dy * dy);
}

// The rotate drag's angle at the mouse: about the pivot on the ground, or, with the ground
// edge-on, from the mouse's place across the viewport (its width is a whole turn): every
// point of the plane facing the viewer lies on one line through the pivot.
std::optional<float> ViewMouse::rotateAngleAt(const ViewportHit& hit) {
    if (editor_.dragOnViewPlane) return std::clamp(vm::kPi * (hit.nx + 1), 1e-6f, vm::kTwoPi);
    if (auto g = ground(hit)) return angleAroundPivot(*g);
    return std::nullopt;
}

// The no-tool drag of the hot point: under the mouse at its depth.
void ViewMouse::movePoint(const ViewportHit& hit, int index) {
    const Model& model = this->model();
    if (index < 0 || static_cast<size_t>(index) >= model.points.size()) return;
    p_.timing.start("point drag");
    const auto moved = static_cast<uint32_t>(index);
    vm::Float3 to = draggedPointPosition(p_.camera, hit, entityWorld(), model.points[moved]);
    if (snapping()) to = snap::toGrid(to, editor_.snapStep);
    p_.session.dragPoint(moved, to); // the shape window follows the document
}

void ViewMouse::setPaletteButton(int id, int state) {
    SendMessageA(p_.palette.toolbar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELPARAM(state, 0));
}

// The dissociate and joint buttons take the click before any tool. Returns true when one of
// them is down. Clicks away from a hot point do nothing and leave the button down.
bool ViewMouse::pointButtonClick(const ViewportHit& hit) {
    if (!pointButtonDown()) return false;
    hoverPick(hit); // the press itself is where the user points
    if (paletteChecked(palette::Dissociate)) {
        if (editor_.hotPoint && editor_.hoveredPoint != -1 &&
            dissociateCommand(p_.session, editor_.hoveredPoint))
            setPaletteButton(palette::Dissociate, TBSTATE_ENABLED);
        return true;
    }
    if (!editor_.hotPoint) return true;
    if (editor_.firstJointPoint == -1) {
        editor_.firstJointPoint = editor_.hoveredPoint;
    } else if (jointCommand(p_.session)) {
        editor_.firstJointPoint = -1;
        setPaletteButton(palette::Joint, TBSTATE_ENABLED);
    }
    p_.paletteWindow.updateJointButton();
    return true;
}

void ViewMouse::toolPress(const ViewportHit& hit) {
    switch (editor_.tool) {
    case Tool::None:
        hoverPick(hit);
        if (editor_.hoveredPoint != -1 && editor_.hotPoint && p_.shape.pointList)
            SendMessageA(p_.shape.pointList, LB_SETCURSEL,
                         static_cast<WPARAM>(editor_.hoveredPoint), 0);
        break;
    case Tool::Add: {
        // A point that is not a number would end the file where it is saved: never made.
        if (!isFinitePoint(cursorPoint(p_.camera, hit)) && !editor_.hotPoint) break;
        vm::Vec4 at = cursorPoint(p_.camera, hit);
        if (snapping()) at = snap::toGrid(at, editor_.snapStep);
        p_.session.addPoint(at);
        updateTakeBackButton(p_.main.toolbar, editor_);
        break;
    }
    case Tool::Select: {
        p_.timing.start("selection click");
        const ClickModifiers modifiers{keyDown(VK_CONTROL), keyDown(VK_SHIFT)};
        const bool points = editor_.choosingPoints;
        // A plain press on a chosen point drags the chosen points; the release is one step.
        if (points && editor_.hotPoint && !modifiers.control && !modifiers.shift &&
            editor_.hoveredPoint >= 0 &&
            beginChosenPointsDrag(editor_, model(), static_cast<uint32_t>(editor_.hoveredPoint))) {
            p_.session.document().beginGesture();
            setStatusText(StatusPart::Message,
                          "moving " + std::to_string(editor_.pointGesture.points.size()) +
                              " chosen points (Escape puts them back)");
            break;
        }
        const int target =
            points ? (editor_.hotPoint ? editor_.hoveredPoint : -1) : editor_.hoveredPatch;
        p_.session.pressToSelect(target, modifiers, editor_.lastMouseX, editor_.lastMouseY);
        // A press on empty space starts a rubber band (Shift and a drag orbit, as always).
        if (target < 0 && !modifiers.shift) {
            editor_.banding = true;
            editor_.bandViewport = hit.viewport;
            editor_.bandX0 = editor_.bandX1 = hit.nx;
            editor_.bandY0 = editor_.bandY1 = hit.ny;
        }
        break;
    }
    case Tool::Rotate:
        commitPreview(p_.session);
        if (!chooseDragPlane(hit)) break;
        beginSubjectDrag(true);
        if (auto a = rotateAngleAt(hit)) {
            editor_.startAngle = *a;
            editor_.sweepAngle = 0;
            editor_.transformDrag = true;
        } else if (pointGestureUnderWay(editor_)) {
            // No angle to measure from here: nothing was moved, nothing is kept.
            endPointGesture(editor_);
            p_.session.document().endGesture("Rotate points");
        }
        break;
    case Tool::Translate:
        commitPreview(p_.session);
        if (!editor_.handleHot && !chooseDragPlane(hit)) break;
        if (auto p =
                editor_.handleHot ? translatePoint(p_.camera, hit, true, false) : ground(hit)) {
            editor_.dragStart = *p;
            editor_.translation = {};
            editor_.transformDrag = true;
            beginSubjectDrag(false);
        }
        break;
    case Tool::Scale:
        commitPreview(p_.session);
        beginSubjectDrag(true);
        if (!pointGestureUnderWay(editor_)) break; // an empty model
        editor_.scaleFrom = pixelsFromPivot(hit);
        editor_.scaleFactor = 1;
        editor_.transformDrag = true;
        break;
    case Tool::Locator: {
        if (!isFinitePoint(cursorPoint(p_.camera, hit))) break;
        editDocument(p_.session, "Locator", [&](Model& model) {
            addLocator(model, cursorPoint(p_.camera, hit));
            return true;
        });
        break;
    }
    }
}

// The rubber band's release: the patches wholly inside it, selected as a click would
// (Shift held at the release adds them, Control toggles them). A band of a few pixels is the
// click on empty space its press held.
void ViewMouse::finishBand(const ViewportHit& hit) {
    editor_.banding = false;
    const float dx = (editor_.bandX1 - editor_.bandX0) * static_cast<float>(hit.width) / 2;
    const float dy = (editor_.bandY1 - editor_.bandY0) * static_cast<float>(hit.height) / 2;
    constexpr float kTravel = EditSession::kClickTravel;
    if (dx * dx + dy * dy < kTravel * kTravel) {
        p_.session.releaseHeldClick();
        return;
    }
    editor_.heldClick.reset();
    p_.timing.start("box selection");
    Model& model = this->model();
    const vm::Mat4 m = entityWorld() * viewProjectionOf(editor_.bandViewport, hit.aspect);
    const ScreenBox box{editor_.bandX0, editor_.bandY0, editor_.bandX1, editor_.bandY1};
    const ClickModifiers modifiers{keyDown(VK_CONTROL), keyDown(VK_SHIFT)};
    if (editor_.choosingPoints)
        p_.session.choosePoints(pointsInBox(model, m, box), modifiers, "box");
    else
        p_.session.selectPatchesInBox(patchesInBox(model, m, box), modifiers);
}

Axis heldAxis() {
    if (keyDown('X')) return Axis::X;
    if (keyDown('Y')) return Axis::Y;
    if (keyDown('Z')) return Axis::Z;
    return Axis::Free;
}

std::optional<PatchSpot> ViewMouse::patchUnderPointer() {
    if (!editor_.modelReady || !p_.main.window) return std::nullopt;
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(p_.main.window, &at);
    RECT client;
    GetClientRect(p_.main.window, &client);
    const ViewArea area = p_.layout.viewArea(client.right, client.bottom);
    if (at.x < 0 || at.x >= area.width || at.y < area.top || at.y >= area.top + area.height)
        return std::nullopt;
    const ViewportHit hit =
        locateViewport(at.x, at.y - area.top, area.width, area.height, p_.layout.quad());
    const Model& model = this->model();
    p_.picks.follow(p_.copy.revision());
    const PatchPick pick = p_.picks.pickPatch(model, entityWorld(), p_.camera, hit);
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

// What the mouse shows as it moves without a drag under way: the cursor point, the rotate
// gizmo's angle, the translate handle under it, the readout.
void ViewMouse::trackMouse(const ViewportHit& hit, WPARAM wParam) {
    if (editor_.tool == Tool::Add || editor_.tool == Tool::Locator) {
        editor_.cursor = cursorPoint(p_.camera, hit);
        setStatus(StatusPart::Cursor, editor_.cursor);
    } else if (editor_.tool == Tool::Rotate && !editor_.transformDrag) {
        // Before a press the gizmo shows the mouse's angle.
        if (auto g = groundPoint(p_.camera, hit)) {
            showGroundPoint(*g);
            editor_.sweepAngle = angleAroundPivot(*g);
        }
    } else if (editor_.tool == Tool::Translate && !(wParam & MK_LBUTTON)) {
        editor_.handleHot =
            handleUnderMouse(p_.camera, viewProjectionOf(hit.viewport, hit.aspect), hit);
    }
    setStatus(StatusPart::CursorRelative, cursorReadout(p_.camera, hit.viewport, editor_.cursor));
}

// A move with the left button held: orbiting, a rubber band, a point, or a rotate or
// translate drag.
void ViewMouse::dragWithLeftButton(const ViewportHit& hit, WPARAM wParam, int mx, int my) {
    if ((wParam & MK_SHIFT) ||
        (editor_.tool == Tool::None && !editor_.hotPoint && editor_.draggedPoint < 0)) {
        p_.camera.orbit(mx - editor_.lastMouseX, my - editor_.lastMouseY, hit.width, hit.height);
    } else if (editor_.tool == Tool::Select && pointGestureUnderWay(editor_)) {
        const bool snap = snapping();
        editor_.translation =
            chosenPointsOffset(editor_, p_.camera, hit, entityWorld(),
                               snap ? std::optional<float>(editor_.snapStep) : std::nullopt);
        stepSubjectDrag();
    } else if (editor_.banding) {
        if (hit.viewport == editor_.bandViewport) {
            editor_.bandX1 = std::clamp(hit.nx, -1.0f, 1.0f);
            editor_.bandY1 = std::clamp(hit.ny, -1.0f, 1.0f);
        }
    } else if (editor_.tool == Tool::None) {
        movePoint(hit, editor_.draggedPoint >= 0 ? editor_.draggedPoint : editor_.hoveredPoint);
    } else if (editor_.tool == Tool::Rotate && editor_.transformDrag) {
        if (auto a = rotateAngleAt(hit)) {
            editor_.sweepAngle = sweptAngle(editor_.startAngle, *a);
            if (snapping()) editor_.sweepAngle = snap::toAngle(editor_.sweepAngle);
            stepSubjectDrag();
        }
    } else if (editor_.tool == Tool::Scale && editor_.transformDrag) {
        float factor = dragScaleFactor(editor_.scaleFrom, pixelsFromPivot(hit));
        if (snapping()) factor = snapFactor(factor);
        editor_.scaleFactor = factor;
        char text[64];
        std::snprintf(text, sizeof text, "scale %.3g", static_cast<double>(factor));
        setStatusText(StatusPart::Message, text);
        stepSubjectDrag();
    } else if (editor_.tool == Tool::Translate && editor_.transformDrag) {
        if (auto p =
                editor_.handleHot ? translatePoint(p_.camera, hit, true, false) : ground(hit)) {
            editor_.translation = *p - editor_.dragStart;
            editor_.translation.w = 0;
            if (snapping())
                editor_.translation = snap::toGrid(editor_.translation, editor_.snapStep);
            setStatus(StatusPart::Message, *p);
            stepSubjectDrag();
        }
    }
    editor_.lastMouseX = mx;
    editor_.lastMouseY = my;
}

bool ViewMouse::handle(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP &&
        message != WM_RBUTTONDOWN && message != WM_RBUTTONUP)
        return false;
    if (!editor_.modelReady) return true; // before start-up made the model
    RECT client;
    GetClientRect(mainWindow, &client);
    const ViewArea area = p_.layout.viewArea(client.right, client.bottom);
    const int mx = static_cast<short>(LOWORD(lParam));
    const int my = static_cast<short>(HIWORD(lParam)) - area.top;
    const ViewportHit hit = locateViewport(mx, my, area.width, area.height, p_.layout.quad());
    controlHeld_ = (wParam & MK_CONTROL) != 0;
    const SettingsFile& settings = sessionSettings();

    switch (message) {
    case WM_MOUSEMOVE:
        editor_.pointMoved = false;
        if (wParam & MK_RBUTTON) {
            p_.camera.panTo(editor_.panStartX, editor_.panStartY, editor_.panViewport, mx, my,
                            hit.width, hit.height);
            setStatus(StatusPart::Message, p_.camera.target());
        }
        trackMouse(hit, wParam);
        if ((wParam & MK_LBUTTON) && !editor_.leftDragCancelled) {
            p_.session.pointerDragged(mx, my);
            dragWithLeftButton(hit, wParam, mx, my);
        }
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON))) hoverPick(hit);
        return true;
    case WM_LBUTTONDOWN:
        editor_.leftDragCancelled = false;
        editor_.lastMouseX = mx;
        editor_.lastMouseY = my;
        if (!pointButtonClick(hit)) toolPress(hit);
        return true;
    case WM_LBUTTONUP:
        p_.camera.commitRotation(settings);
        // A drag is one step: the rotation or translation goes into the points now.
        if (editor_.transformDrag) commitPreview(p_.session);
        finishPointDrag(p_.session);
        if (editor_.banding)
            finishBand(hit);
        else
            p_.session.releaseHeldClick(); // a Shift click that did not orbit
        return true;
    case WM_RBUTTONDOWN:
        editor_.panStartX = mx;
        editor_.panStartY = my;
        editor_.panViewport = hit.viewport;
        return true;
    case WM_RBUTTONUP:
        p_.camera.commitPan(settings);
        return true;
    }
    return true;
}
