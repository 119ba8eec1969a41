// What the frame draws into each view: the planet and its spheres, the model with its control
// nets, the tools' overlays, the axis crosses and the head-up display. It keeps the pictures
// it draws with (the planet, the display's glass) and lets go of them with the device.
#pragma once

#include <memory>

#include "core/key-flags.h"
#include "flight/win32/hud.h"
#include "graphics/d3d11/texture.h"

class GpuModelCopy;
class Palette;
class ReferenceView;
class Renderer;
class ToolOverlays;
class WindowLayout;
class Vaisseau;
struct EditorState;
struct MainWindowHandles;
struct OrbitCamera;

class SceneFrame {
  public:
    // The renderer and the view windows it presents to; what is shown and from where; the
    // ship and its copy on the device; the tools' overlays and the palette's wireframe box.
    struct Parts {
        const std::unique_ptr<Renderer>& renderer;
        const MainWindowHandles& windows;
        EditorState& editor; // the curvature display fits its scale when first drawn
        const OrbitCamera& camera;
        Vaisseau& ship;
        GpuModelCopy& shipCopy;
        ToolOverlays& overlays;
        Palette& palette;
        ReferenceView& reference;
        const WindowLayout& layout;
    };
    explicit SceneFrame(const Parts& parts) : p_(parts) {}
    SceneFrame(const SceneFrame&) = delete;
    SceneFrame& operator=(const SceneFrame&) = delete;

    // The planet's picture ("1_earth_16k.jpg", fatal when missing), the reference picture
    // and the head-up display's glass, once the renderer exists.
    void loadPictures();
    // Every view of the layout, editing or flying as the editor's mode says.
    void render();
    // The device's resources go while the windows are still there.
    void releaseDevice();
    const LoadedTexture& planet() const { return planet_; }
    // The planet and the reference spheres shown or not (the view commands switch them).
    DisplayFlags& display() { return display_; }

  private:
    void renderView(Renderer& r, int v, bool editing);
    void drawAxisCross(Renderer& r);
    void drawSurroundings(Renderer& r, vm::Vec4 target);
    void drawModels(Renderer& r, bool editing);

    const Parts p_;
    DisplayFlags display_;
    LoadedTexture planet_;
    Hud hud_;
};
