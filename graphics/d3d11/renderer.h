// What draws: the line, planet and patch pipelines and the state they share (transform and
// colour buffers, rasterizer, blend and sampler states), on the device, swap chains and
// targets its DeviceResources owns.
#pragma once

#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "core/vector-math.h"
#include "graphics/constant-buffers.h"
#include "graphics/d3d11/device-buffers.h"
#include "graphics/d3d11/device-resources.h"
#include "graphics/d3d11/texture.h"
#include "graphics/patch-view.h"
#include "graphics/surface-cache.h"
#include "model/model.h"

using Microsoft::WRL::ComPtr;

class Renderer {
  public:
    static constexpr float kNear = 1.0f;
    static constexpr float kFar = 2.9919574e14f; // bits 0x57880EF8
    static constexpr int kSecondaryViews = DeviceResources::kSecondaryViews;

    vm::Mat4 world = vm::identity();
    vm::Mat4 projection;
    vm::Mat4 viewProjection = vm::identity();
    // The shaded display: patches lit by a directional light along `light` (the direction
    // the camera looks along), keeping their state colour as the base.
    bool shaded = false;
    vm::Vec4 light{0, 0, 1, 0};

    // Sets up the device, the main view's swap chain and targets and the shared state.
    // Every failure is fatal.
    static std::unique_ptr<Renderer> create(float fovAngleY, int width, int height, HWND window);

    // Swap chain and targets for the quad layout's view slot + 1 (slot 0..2).
    void createSecondaryView(HWND window, int width, int height, int slot);
    // Drops a secondary view's swap chain and targets (its window is going away).
    void releaseSecondaryView(int slot);
    void resizeView(int width, int height, int view);
    void clearView(int view);
    void present(int view);
    // What Present said: a removed or reset device is the fatal error "error".
    void checkPresent(HRESULT hr);
    void setWorld(const vm::Mat4& m);

    // Lets go of every device object while the view windows still exist; the program is
    // ending and the driver shuts down cleanly only when its swap chains go first.
    void releaseDevice();

    // Entry "PS", target "ps_5_0"; a failure is the fatal error "arf".
    ComPtr<ID3D11PixelShader> compilePixelShader(const wchar_t* path);

    // A width × height texture of one mip level with its view; pixels (rows of width × 4
    // bytes) are its content when given. Dynamic textures are written by the CPU. A failure
    // is the fatal error "error".
    LoadedTexture createTexture(UINT width, UINT height, const void* pixels, bool dynamic,
                                DXGI_FORMAT format);

    // --- planet ---
    // The camera-facing quad that shows the planet as a lit, textured sphere.
    void drawPlanet(ID3D11ShaderResourceView* texture, const vm::Mat4& view);
    // The planet as a textured mesh of 160 × 260 cells.
    void drawPlanetMesh(ID3D11ShaderResourceView* texture);
    // Triangles of planet vertices (position, texture coordinates) with a pixel shader and
    // texture of the caller's, blended: the head-up display's panel.
    void drawTexturedTriangles(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                               ID3D11ShaderResourceView* texture);

    // --- line shapes ---
    enum Shape { WireSphere = 0, Cube = 1, Arrow = 2, Segment = 3 };
    // The direction arrow heads face: the orbit camera's viewing direction.
    vm::Vec4 arrowFacing{0, 0, 1, 0};
    void drawShape(Shape shape);
    void drawSegment(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour);
    void drawArrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour);
    // The cube scaled by halfSize around centre; sets the world matrix itself.
    void drawCube(vm::Vec4 colour, vm::Vec4 centre, float halfSize);
    // Binds the colour buffer to pixel b1 and uploads the colour.
    void setColour(vm::Vec4 colour);

    // The rotate gizmo: the first n segments of the unit ring and n sectors of the disc
    // (blended), in the current world frame.
    void drawGizmo(int n, bool inProgress);

    // --- Bezier patches ---
    // Patches evaluated on the GPU (hull and domain stages) or, where the device or the
    // shader compiler cannot tessellate, on the CPU at the same factor.
    bool tessellatesOnGpu() const { return gpuTessellation_; }
    void selectPatchPipeline(ID3D11Buffer* vertexBuffer, bool lines, bool wireframe);
    // Every shown patch in its colour; the patches of a symmetry a second time, mirrored.
    void drawPatches(const Model& model, const PatchView& view, bool wireframe);
    // The control nets of the shown patches, never mirrored nor blended.
    void drawControlNets(const Model& model, const PatchView& view);

    ID3D11Device* device() const { return resources_.device(); }
    ID3D11DeviceContext* context() const { return resources_.context(); }
    D3D_FEATURE_LEVEL featureLevel() const { return resources_.featureLevel(); }
    GpuBufferFactory* bufferFactory() { return bufferFactory_.get(); }
    // Swap chain of a view: 0 the main view, 1..3 the quad layout's others (null when absent).
    IDXGISwapChain* swapChain(int view) const { return resources_.swapChain(view); }
    bool quadLayout = false; // views 1..3 exist and each view binds its own targets

    // Right-handed perspective with the renderer's field of view, near and far planes.
    static vm::Mat4 perspective(float fovAngleY, float aspect);

  private:
    void createLineShapes();
    void createPlanetMesh();
    void createPlanetPipeline();
    // The planet vertex shader and layout over vertices (position, texture coordinates),
    // with a pixel shader, its texture at t0, the colour at b1 and the sampler.
    void bindTexturedVertices(ID3D11Buffer* vertices, D3D11_PRIMITIVE_TOPOLOGY topology,
                              ID3D11PixelShader* shader, ID3D11ShaderResourceView* texture);
    void createPatchPipeline();
    // Shader target of a stage ("vs", "ps", …) for the device's feature level.
    std::string shaderTarget(const char* stage) const;
    ComPtr<ID3DBlob> compileOrDie(const wchar_t* path, const char* entry, const char* stage,
                                  const char* text);
    void updateCpuSurfaces(const Model& model);
    void updateNetIndices(const Model& model);
    void createStates();

    float fovAngleY_ = vm::kFieldOfView;
    DeviceResources resources_;
    ComPtr<ID3D11Buffer> transformBuffer_;
    ComPtr<ID3D11RasterizerState> rasterizerStates_[3]; // solid, solid culling back, wireframe
    ComPtr<ID3D11BlendState> alphaBlend_;
    ComPtr<ID3D11Buffer> colourBuffer_;
    ComPtr<ID3D11SamplerState> sampler_;
    std::unique_ptr<DeviceBufferFactory> bufferFactory_;

    // Each pipeline's device objects, released together.
    struct LinePipeline {
        ComPtr<ID3D11VertexShader> vertexShader;
        ComPtr<ID3D11PixelShader> pixelShader;
        ComPtr<ID3D11Buffer> shapes[4];
        ComPtr<ID3D11Buffer> gizmoRing, gizmoDisc;
    } lines_;
    ComPtr<ID3D11InputLayout> positionLayout_; // float3 positions: the lines and the patches

    struct PlanetPipeline {
        ComPtr<ID3D11Buffer> mesh, impostorQuad, constants;
        ComPtr<ID3D11VertexShader> vertexShader;
        ComPtr<ID3D11PixelShader> pixelShader, texturePixelShader;
        ComPtr<ID3D11InputLayout> layout;
        ComPtr<ID3D11DepthStencilState> depth; // LESS_EQUAL: the planet lies at depth 1
    } planet_;

    bool gpuTessellation_ = false;
    // The CPU path: every patch's 36 grid vertices, and the triangles this view draws of
    // them: patch i's from first[i] to first[i + 1], as finely as its size on the screen
    // asks (none outside the view). Rebuilt when the model, the view or its size changes.
    struct CpuSurfaces {
        SurfaceCache cache; // the grids, evaluated again only where points moved
        size_t vertexCount = 0;
        ComPtr<ID3D11Buffer> vertices;
        ComPtr<ID3D11Buffer> normals;   // one per vertex, for the shaded display
        ComPtr<ID3D11Buffer> triangles; // dynamic
        size_t triangleCapacity = 0;
        // What the triangles were made for.
        const Model* detailModel = nullptr;
        uint64_t detailTopology = 0, detailPoints = 0;
        std::vector<uint32_t> moved, touched; // the points moved since, and their patches
        vm::Mat4 detailView{}, detailWorld[2]{};
        float detailWidth = 0, detailHeight = 0;
        std::vector<uint8_t> segments;
        std::vector<uint32_t> first;
        std::vector<uint32_t> indices;
        // The control nets this view draws: those of patches large enough on the screen for
        // their lines to be told apart (two segments or more), patch i's from netFirst[i].
        ComPtr<ID3D11Buffer> nets; // dynamic
        size_t netCapacity = 0;
        std::vector<uint32_t> netFirst;
        std::vector<int32_t> netIndices;
    };
    // Every patch's control-net indices, one after the other.
    struct NetIndices {
        const Model* model = nullptr;
        uint64_t revision = 0;
        ComPtr<ID3D11Buffer> indices;
    };
    struct PatchPipeline {
        ComPtr<ID3D11VertexShader> vertexShader;
        ComPtr<ID3D11HullShader> hullShader;
        ComPtr<ID3D11DomainShader> domainShader;
        ComPtr<ID3D11PixelShader> pixelShader, shadedBezierPixelShader;
        ComPtr<ID3D11Buffer> tessellationBuffer;
        // Shaded patch triangles: positions in stream 0, normals in stream 1.
        ComPtr<ID3D11VertexShader> shadedVertexShader;
        ComPtr<ID3D11PixelShader> shadedPixelShader;
        ComPtr<ID3D11InputLayout> shadedLayout;
        ComPtr<ID3D11Buffer> lightBuffer;
        CpuSurfaces cpu;
        NetIndices netIndices;
    } patches_;
    void updateCpuDetail(const Model& model, const vm::Mat4 world[2]);
    // Fills a dynamic index buffer, made (larger) anew only when count outgrows it.
    void uploadDynamicIndices(ComPtr<ID3D11Buffer>& buffer, size_t& capacity, const void* indices,
                              size_t count, const char* what);
};
