// What the tools show in each viewport while editing.
#pragma once

#include <windows.h>

#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/vector-math.h"
#include "editor/join-display.h"

struct ID3D11Buffer;
class GpuModelCopy;
class Model;
class Renderer;
class Vaisseau;
struct EditorState;
struct OrbitCamera;
struct PaletteHandles;
struct ShapeWindowHandles;
namespace overlay {
struct Segment;
}

class ToolOverlays {
  public:
    // What the overlays show and where from: the tool's state, the camera, the model and the
    // ship it flies as (its place), its GPU copy (whose revision the joins' lines follow), the
    // palette (the rotate button) and the point list (the point chosen there).
    struct Parts {
        const EditorState& editor;
        const OrbitCamera& camera;
        const Model& model;
        const Vaisseau& ship;
        const GpuModelCopy& copy;
        const std::unique_ptr<Renderer>& renderer;
        const PaletteHandles& palette;
        const ShapeWindowHandles& shape;
    };
    explicit ToolOverlays(const Parts& parts) : p_(parts) {}

    // Before the model: point markers, the pick ray, selection brackets, guides, locator
    // axes, the camera sketch and the rotate gizmo.
    void draw(int viewport, float aspect);
    // After the model: the net of the points the add tool is collecting.
    void drawPendingNet();
    // The device goes: the joins' lines with it.
    void releaseDeviceBuffers() { joins_ = {}; }

  private:
    void drawRotateGizmo(Renderer& r, const vm::Mat4& world);
    void drawChosenPoints(Renderer& r, const Model& model, const vm::Mat4& world);
    void drawPivotAndAxis(Renderer& r, const Model& model, const vm::Mat4& world);
    void drawJoins(Renderer& r, const Model& model, const vm::Mat4& world);
    void drawPointMarkers(Renderer& r, const Model& model, const vm::Mat4& world, bool hot);
    void drawRubberBand(Renderer& r);
    void drawPlacingGuides(Renderer& r, const Model& model, const vm::Mat4& world,
                           const vm::Mat4& frame, bool hot);

    const Parts p_;
    // The joins display's lines on the device, one list a shade, made again when the model
    // changes (its revision).
    struct Joins {
        uint64_t revision = UINT64_MAX; // the model's GPU copy's
        Microsoft::WRL::ComPtr<ID3D11Buffer> shades[kJoinShades];
        UINT counts[kJoinShades] = {};
    } joins_;
};
