#include "editor/mouse-handler.h"

#include <commctrl.h>

#include <cstdio>
#include <optional>

#include "core/Application.h"
#include "core/input-timing.h"
#include "core/window-layout.h"
#include "editor/commands.h"
#include "editor/edit-xform.h"
#include "editor/locators.h"
#include "editor/pending-points.h"
#include "editor/pick-accelerator.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "graphics/renderer.h"
#include "ui/palette-buttons.h"
#include "ui/palette.h"
#include "ui/shape-window.h"

namespace {

size_t seenPoints = static_cast<size_t>(-1), seenPatches = static_cast<size_t>(-1);
PickAccelerator accelerator; // screen positions kept while the camera stands still

void setStatus(int part, const char* text) {
    if (editorState.statusBar)
        SendMessageA(editorState.statusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(text));
}

void setStatus(int part, vm::Vec4 v) {
    char text[128];
    std::snprintf(text, sizeof text, "%f, %f, %f", static_cast<double>(v.x),
                  static_cast<double>(v.y), static_cast<double>(v.z));
    setStatus(part, text);
}

vm::Mat4 entityWorld() {
    vm::Mat4 world;
    editorState.currentEntity->worldMatrix(world);
    return world;
}

bool keyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

vm::Mat4 viewProjectionOf(int viewport) {
    return orbitCamera.viewMatrixOf(viewport) * (renderer ? renderer->projection : vm::identity());
}

void hoverPick(const ViewportHit& hit) {
    Model& model = editedModel();
    const vm::Mat4 viewProjection = viewProjectionOf(hit.viewport);
    if (editorState.tool == 2) {
        PatchPick pick =
            accelerator.pickPatch(model, entityWorld(), viewProjection, orbitCamera, hit);
        editorState.pickRay = {pick.origin, pick.direction};
        editorState.pickDistance = pick.distance;
        editorState.hoveredPatch = pick.patch;
    } else if (editorState.tool != 5) {
        PointPick pick = accelerator.pickPoint(model, entityWorld(), viewProjection,
                                               editorState.useCount, hit.nx, hit.ny);
        editorState.hoveredPoint = pick.index;
        editorState.hotPoint = pick.hot;
    }
}

void showGroundPoint(vm::Vec4 g) {
    char text[520];
    std::snprintf(text, sizeof text, "u:%f\tv:%f", static_cast<double>(g.x),
                  static_cast<double>(g.z));
    setStatus(0, text);
}

// The ground point under the mouse with its readout; nothing (and no readout) when the line
// of sight runs parallel to the ground, so no undefined value reaches the tools.
std::optional<vm::Vec4> ground(const ViewportHit& hit) {
    std::optional<vm::Vec4> g = groundPoint(orbitCamera, hit);
    if (g) showGroundPoint(*g);
    return g;
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

// The no-tool drag of the hot point: under the mouse at its depth.
void movePoint(const ViewportHit& hit, int index) {
    Model& model = editedModel();
    if (index < 0 || static_cast<size_t>(index) >= model.points.size()) return;
    startInputTiming("point drag");
    vm::Float3& point = model.points[static_cast<size_t>(index)];
    point = draggedPointPosition(orbitCamera, hit, entityWorld(), point);
    editorState.pointMoved = true;
    showPointCoordinates(static_cast<size_t>(index));
    if (editorState.pointList)
        SendMessageA(editorState.pointList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    updatePointEntry(static_cast<size_t>(index));
    model.updatePointBuffer();
    markModified();
}

bool paletteChecked(int id) {
    return editorState.paletteToolbar &&
           SendMessageA(editorState.paletteToolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0);
}

void setPaletteButton(int id, int state) {
    SendMessageA(editorState.paletteToolbar, TB_SETSTATE, static_cast<WPARAM>(id),
                 MAKELPARAM(state, 0));
}

// The dissociate and joint buttons take the click before any tool. Returns true when one of
// them is down. Clicks away from a hot point do nothing and leave the button down.
bool pointButtonClick() {
    if (paletteChecked(palette::Dissociate)) {
        if (editorState.hotPoint && editorState.hoveredPoint != -1 &&
            dissociateCommand(editorState.hoveredPoint))
            setPaletteButton(palette::Dissociate, TBSTATE_ENABLED);
        return true;
    }
    if (!paletteChecked(palette::Joint)) return false;
    if (!editorState.hotPoint) return true;
    if (editorState.firstJointPoint == -1) {
        editorState.firstJointPoint = editorState.hoveredPoint;
        SendMessageA(editorState.paletteToolbar, TB_CHANGEBITMAP, palette::Joint,
                     MAKELPARAM(editorState.alternateImages[3], 0));
    } else if (jointCommand()) {
        editorState.firstJointPoint = -1;
        SendMessageA(editorState.paletteToolbar, TB_CHANGEBITMAP, palette::Joint,
                     MAKELPARAM(palette::Joint, 0));
        setPaletteButton(palette::Joint, TBSTATE_ENABLED);
    }
    return true;
}

void toolPress(const ViewportHit& hit) {
    switch (editorState.tool) {
    case 0:
        hoverPick(hit);
        if (editorState.hoveredPoint != -1 && editorState.hotPoint && editorState.pointList)
            SendMessageA(editorState.pointList, LB_SETCURSEL,
                         static_cast<WPARAM>(editorState.hoveredPoint), 0);
        break;
    case 1:
        // A point that is not a number would end the file where it is saved: never made.
        if (!isFinitePoint(cursorPoint(orbitCamera, hit)) && !editorState.hotPoint) break;
        addPendingPoint(editorState.pendingPoints, editedModel(), editorState.useCount, shapeTree(),
                        editorState.hotPoint, editorState.hoveredPoint,
                        cursorPoint(orbitCamera, hit));
        markModified();
        updateTakeBackButton();
        break;
    case 2:
        startInputTiming("selection click");
        selectPatch(editedModel(), editorState.hoveredPatch,
                    {keyDown(VK_CONTROL), keyDown(VK_SHIFT)});
        refreshSelectionPanel();
        reportSelection("click");
        break;
    case 3:
        if (auto g = ground(hit)) editorState.startAngle = angleAroundPivot(*g);
        break;
    case 4:
        if (auto p = editorState.handleHot ? translatePoint(orbitCamera, hit, true) : ground(hit))
            editorState.dragStart = *p;
        break;
    case 5:
        if (!isFinitePoint(cursorPoint(orbitCamera, hit))) break;
        addLocator(editedModel(), shapeTree(), cursorPoint(orbitCamera, hit));
        markModified();
        break;
    }
}

} // namespace

void syncPickState() {
    const Model& model = *editorState.currentEntity;
    if (model.points.size() == seenPoints && model.patches.size() == seenPatches) return;
    seenPoints = model.points.size();
    seenPatches = model.patches.size();
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
    editorState.hoveredPatch = -1;
    editorState.firstJointPoint = -1;
    rebuildUseCount(model, editorState.useCount);
}

void reportSelection(const char* why) {
    const std::string text = "Tavrel selection (" + std::string(why) +
                             "): " + selectedPatchesText(*editorState.currentEntity) + "\n";
    OutputDebugStringA(text.c_str());
}

bool handleViewMouse(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_LBUTTONUP &&
        message != WM_RBUTTONDOWN && message != WM_RBUTTONUP)
        return false;
    if (!editorState.currentEntity) return true;
    syncPickState();
    RECT client;
    GetClientRect(mainWindow, &client);
    const ViewArea area = viewArea(client.right, client.bottom);
    const int mx = static_cast<short>(LOWORD(lParam));
    const int my = static_cast<short>(HIWORD(lParam)) - area.top;
    const ViewportHit hit = locateViewport(mx, my, area.width, area.height, isQuadLayout());
    const SettingsFile& settings = sessionSettings();

    switch (message) {
    case WM_MOUSEMOVE: {
        editorState.pointMoved = false;
        if (wParam & MK_RBUTTON) {
            orbitCamera.panTo(editorState.panStartX, editorState.panStartY, editorState.panViewport,
                              mx, my, hit.width, hit.height);
            setStatus(2, orbitCamera.target());
        }
        if (editorState.tool == 1 || editorState.tool == 5) {
            editorState.cursor = cursorPoint(orbitCamera, hit);
            setStatus(0, editorState.cursor);
        } else if (editorState.tool == 3 && editorState.startAngle < 0) {
            if (auto g = ground(hit)) editorState.sweepAngle = angleAroundPivot(*g);
        } else if (editorState.tool == 4 && !(wParam & MK_LBUTTON)) {
            editorState.handleHot =
                handleUnderMouse(orbitCamera, viewProjectionOf(hit.viewport), hit);
        }
        setStatus(1, cursorReadout(orbitCamera, hit.viewport, editorState.cursor));
        if (wParam & MK_LBUTTON) {
            if ((wParam & MK_SHIFT) || (editorState.tool == 0 && !editorState.hotPoint)) {
                orbitCamera.orbit(mx - editorState.lastMouseX, my - editorState.lastMouseY,
                                  hit.width, hit.height);
            } else if (editorState.tool == 0) {
                movePoint(hit, editorState.hoveredPoint);
            } else if (editorState.tool == 3) {
                if (auto g = ground(hit))
                    editorState.sweepAngle =
                        sweptAngle(editorState.startAngle, angleAroundPivot(*g));
            } else if (editorState.tool == 4) {
                if (auto p = editorState.handleHot ? translatePoint(orbitCamera, hit, true)
                                                   : ground(hit)) {
                    editorState.pivot = *p - editorState.dragStart;
                    editorState.pivot.w = 0;
                    setStatus(2, *p);
                }
            }
            editorState.lastMouseX = mx;
            editorState.lastMouseY = my;
        }
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON))) hoverPick(hit);
        return true;
    }
    case WM_LBUTTONDOWN:
        editorState.lastMouseX = mx;
        editorState.lastMouseY = my;
        if (!pointButtonClick()) toolPress(hit);
        return true;
    case WM_LBUTTONUP:
        orbitCamera.commitRotation(settings);
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
