// What the views are drawn with: the device resources (device, swap chains, targets), the
// state the pipelines share, and the line, planet and patch pipelines, each in files of its
// own. The renderer puts them together and is the one face the program draws through.
#pragma once

#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <memory>

#include "core/vector-math.h"
#include "graphics/d3d11/device-buffers.h"
#include "graphics/d3d11/device-resources.h"
#include "graphics/d3d11/line-pipeline.h"
#include "graphics/d3d11/patch-pipeline.h"
#include "graphics/d3d11/planet-pipeline.h"
#include "graphics/d3d11/render-state.h"
#include "graphics/d3d11/texture.h"
#include "graphics/frame-view.h"
#include "graphics/gpu-model-copy.h"
#include "graphics/patch-view.h"
#include "model/model.h"

using Microsoft::WRL::ComPtr;

class Renderer {
  public:
    static constexpr float kNear = 1.0f;
    static constexpr float kFar = 2.9919574e14f; // bits 0x57880EF8
    static constexpr int kSecondaryViews = DeviceResources::kSecondaryViews;
    using Shape = LinePipeline::Shape;
    static constexpr Shape WireSphere = LinePipeline::WireSphere;

    Renderer() = default;
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Sets up the device, the main view's swap chain and targets, the shared state and the
    // pipelines. Every failure is fatal.
    static std::unique_ptr<Renderer> create(float fovAngleY, int width, int height, HWND window);

    // Swap chain and targets for the quad layout's view slot + 1 (slot 0..2).
    void createSecondaryView(HWND window, int width, int height, int slot);
    // Drops a secondary view's swap chain and targets (its window is going away).
    void releaseSecondaryView(int slot);
    void resizeView(int width, int height, int view);
    // Clears a view and draws what follows into it as frame says, until the next view begins.
    void beginView(int view, const FrameView& frame);
    void present(int view);
    // Returns once the last present has reached the screen.
    void waitForPresented() { resources_.waitForLastFrame(); }
    // Returns once the device has finished every frame given it (a slow one too).
    void waitUntilIdle() { resources_.waitForLastFrame(DeviceResources::kIdleWaitMs); }
    // What Present said: a removed or reset device is the fatal error "error".
    void checkPresent(HRESULT hr);
    void setWorld(const vm::Mat4& m) { state_.setWorld(m); }
    // The world of what is drawn next, and the view-projection of the view being drawn.
    const vm::Mat4& world() const { return state_.world; }
    const vm::Mat4& viewProjection() const { return state_.viewProjection; }
    // The main view's perspective, for its size.
    const vm::Mat4& projection() const { return projection_; }

    // Lets go of every device object while the view windows still exist; the program is
    // ending and the driver shuts down cleanly only when its swap chains go first.
    void releaseDevice();

    // Entry "PS", target "ps_5_0"; a failure is the fatal error "arf".
    ComPtr<ID3D11PixelShader> compilePixelShader(const wchar_t* path) {
        return state_.compilePixelShader(path);
    }
    // A width × height texture of one mip level with its view (see createTexture).
    LoadedTexture createTexture(UINT width, UINT height, const void* pixels, bool dynamic,
                                DXGI_FORMAT format) {
        return ::createTexture(device(), width, height, pixels, dynamic, format);
    }

    // --- planet ---
    void drawPlanet(ID3D11ShaderResourceView* texture, const vm::Mat4& view) {
        planet_.drawImpostor(texture, view);
    }
    void drawPlanetMesh(ID3D11ShaderResourceView* texture) { planet_.drawMesh(texture); }
    void drawTexturedTriangles(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                               ID3D11ShaderResourceView* texture) {
        planet_.drawTexturedTriangles(vertices, count, shader, texture);
    }
    void drawBehind(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                    ID3D11ShaderResourceView* texture, float opacity) {
        planet_.drawBehind(vertices, count, shader, texture, opacity);
    }

    // --- line shapes ---
    void drawShape(Shape shape) { lines_.drawShape(shape); }
    void drawSegment(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour) {
        lines_.drawSegment(from, to, colour);
    }
    void drawArrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour) {
        lines_.drawArrow(from, to, colour, frame_.arrowFacing);
    }
    void drawCube(vm::Vec4 colour, vm::Vec4 centre, float halfSize) {
        lines_.drawCube(colour, centre, halfSize);
    }
    void setColour(vm::Vec4 colour) { state_.setColour(colour); }
    void drawGizmo(int n, bool inProgress) { lines_.drawGizmo(n, inProgress); }
    ComPtr<ID3D11Buffer> makeLineBuffer(const vm::Float3* points, size_t count) {
        return lines_.makeLineBuffer(points, count);
    }
    void drawLineList(ID3D11Buffer* vertices, UINT count, vm::Vec4 colour) {
        lines_.drawLineList(vertices, count, colour);
    }

    // --- Bezier patches ---
    bool tessellatesOnGpu() const { return patches_.tessellatesOnGpu(); }
    // copy is the model's GPU copy.
    void drawPatches(const Model& model, const GpuModelCopy& copy, const PatchView& view) {
        patches_.drawPatches(model, copy, view, frame_.wireframe,
                             {frame_.shaded, frame_.light, frame_.zebra, frame_.stripes,
                              frame_.curvature, frame_.curvatureScale});
    }
    void drawControlNets(const Model& model, const GpuModelCopy& copy, const PatchView& view) {
        patches_.drawControlNets(model, copy, view);
    }

    // What the draws since the last clearCounts asked of the device.
    const FrameCounts& counts() const { return state_.counts; }
    void clearCounts() { state_.counts = {}; }

    ID3D11Device* device() const { return resources_.device(); }
    ID3D11DeviceContext* context() const { return resources_.context(); }
    D3D_FEATURE_LEVEL featureLevel() const { return resources_.featureLevel(); }
    GpuBufferFactory* bufferFactory() { return bufferFactory_.get(); }
    // Swap chain of a view: 0 the main view, 1..3 the quad layout's others (null when absent).
    IDXGISwapChain* swapChain(int view) const { return resources_.swapChain(view); }

    // Right-handed perspective with the renderer's field of view, near and far planes.
    static vm::Mat4 perspective(float fovAngleY, float aspect);

  private:
    float fovAngleY_ = vm::kFieldOfView;
    vm::Mat4 projection_;
    FrameView frame_; // of the view being drawn
    DeviceResources resources_;
    RenderState state_;
    LinePipeline lines_;
    PlanetPipeline planet_;
    PatchPipeline patches_;
    std::unique_ptr<DeviceBufferFactory> bufferFactory_;
};
