#include "app/win32/scene-frame.h"

#include <cstdio>

#include "core/win32/input-timing.h"
#include "editor/curvature-scale.h"
#include "editor/edit-xform.h"
#include "editor/editor-state.h"
#include "flight/vaisseau.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/gpu-model-copy.h"
#include "graphics/zebra-stripes.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/palette.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/tool-overlays.h"
#include "ui/win32/window-layout.h"
#include "view/orbit-camera.h"

namespace {
const vm::Vec4 kArrowColour = {0.99039227f, 0.9298039f, 0.96392155f, 1.0f};
} // namespace

void SceneFrame::loadPictures() {
    const Stopwatch watch;
    planet_ = loadTexture(*p_.renderer, L"1_earth_16k.jpg");
    p_.reference.loadFromSession();
    const double ms = watch.milliseconds();
    D3D11_TEXTURE2D_DESC desc = {};
    planet_.texture->GetDesc(&desc);
    char line[160];
    std::snprintf(line, sizeof line, "Tavrel planet image: %ux%u in %.0f ms\n", desc.Width,
                  desc.Height, ms);
    OutputDebugStringA(line);
    hud_.create(*p_.renderer);
}

void SceneFrame::releaseDevice() {
    p_.shipCopy.release();
    p_.shipCopy.setFactory(nullptr);
    planet_ = {};
    p_.reference.releaseDevice();
    p_.overlays.releaseDeviceBuffers();
    hud_.release();
    if (p_.renderer) p_.renderer->releaseDevice();
}

// The three axes at the current world origin; y lights up while its handle is under the mouse.
void SceneFrame::drawAxisCross(Renderer& r) {
    r.drawArrow({0, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 0});
    r.drawArrow({0, 0, 0, 1}, {0, 1, 0, 1},
                p_.editor.handleHot ? vm::Vec4{1, 1, 1, 0} : vm::Vec4{0, 1, 0, 0});
    r.drawArrow({0, 0, 0, 1}, {0, 0, 1, 1}, {0, 0, 1, 0});
}

// The planet, the arrow from the target to the ship and the reference spheres.
void SceneFrame::drawSurroundings(Renderer& r, vm::Vec4 target) {
    ID3D11ShaderResourceView* planetImage = planet_.view.Get();
    if (display_.planetVisible && planetImage) r.drawPlanet(planetImage, p_.camera.viewMatrix());
    r.setWorld(vm::identity());
    r.drawArrow(target, p_.ship.position, kArrowColour);
    if (display_.sphereMeshVisible && planetImage) r.drawPlanetMesh(planetImage);
    if (display_.wireSphereVisible) {
        r.setWorld(vm::identity());
        r.drawShape(Renderer::WireSphere);
    }
}

// The ship is the only model the scene holds: its copy is the one the document keeps.
void SceneFrame::drawModels(Renderer& r, bool editing) {
    vm::Mat4 world;
    p_.ship.worldMatrix(world);
    const PatchView view = patchViewOf(p_.editor, world);
    r.drawPatches(p_.ship, p_.shipCopy, view);
    if (editing) r.drawControlNets(p_.ship, p_.shipCopy, view);
}

void SceneFrame::renderView(Renderer& r, int v, bool editing) {
    const OrbitCamera& camera = p_.camera;
    EditorState& editor = p_.editor;
    const vm::Vec4 target = camera.target();
    const vm::Mat4 view = !editing ? p_.ship.cockpitView()
                          : v == 0 ? camera.viewMatrix()
                                   : camera.axisViewMatrix(v);
    RECT client = {0, 0, 1, 1};
    GetClientRect(v == 0 ? p_.windows.view : p_.windows.secondaryViews[v - 1], &client);
    const float aspect = client.bottom > 0
                             ? static_cast<float>(client.right) / static_cast<float>(client.bottom)
                             : 1.0f;
    // The axis views are drawn orthographically while editing, the flight view never.
    const bool flat = editing && camera.orthographicView(v);
    FrameView frame;
    frame.viewProjection =
        view * (editing ? camera.projectionOf(v, aspect, r.projection()) : r.projection());
    // The shaded display's light comes from behind this view's camera.
    frame.shaded = editor.shaded;
    frame.light = {-view[0][2], -view[1][2], -view[2][2], 0};
    frame.zebra = editor.zebra;
    frame.stripes = zebra::stripesFor(view, editor.stripeTurn, editor.stripeBands);
    frame.curvature = editor.curvature;
    if (frame.curvature) frame.curvatureScale = curvatureScaleOf(editor, p_.ship);
    frame.wireframe = p_.palette.wireframeChecked();
    frame.arrowFacing = camera.viewingDirection();
    r.beginView(v, frame);
    if (editing) p_.overlays.draw(v, aspect);
    // The planet is a picture of perspective: an orthographic view shows the model alone,
    // over the reference picture of its axis, if any.
    if (flat)
        p_.reference.drawBehindModel(r, view, true);
    else
        drawSurroundings(r, target);
    r.setWorld(vm::translation(target));
    if (editing) drawAxisCross(r);
    drawModels(r, editing);
    // The display's glass goes over the scene: drawn before the models (with its depth
    // written) it would cut holes in them.
    if (editing) {
        p_.overlays.drawPendingNet();
        r.setWorld(vm::identity());
        r.drawArrow(camera.offset, target, kArrowColour);
        r.setWorld(vm::translation(camera.offset));
        drawAxisCross(r);
    }
    r.setWorld(p_.ship.cockpitMatrix());
    hud_.draw(r, p_.ship);
    r.present(v);
}

void SceneFrame::render() {
    Renderer* renderer = p_.renderer.get();
    if (!renderer || !renderer->device()) return; // none yet, or the program is ending
    const bool editing = p_.editor.mode == Mode::Editing;
    for (int v = 0; v < p_.layout.viewCount(); ++v)
        renderView(*renderer, v, editing);
}
