// Bicubic Bezier patches from "tessélateur.hlsl": tessellated by the hull and domain stages
// as finely as each edge's size on the screen asks, or evaluated on the CPU at a level per
// patch where the platform cannot tessellate; and their control nets.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "graphics/curvature-grids.h"
#include "graphics/d3d11/curvature-buffer.h"
#include "graphics/d3d11/render-state.h"
#include "graphics/gpu-model-copy.h"
#include "graphics/patch-triangles.h"
#include "graphics/patch-view.h"
#include "graphics/surface-cache.h"
#include "model/model.h"

class PatchPipeline {
  public:
    // The shaded display: patches lit by a directional light along `light`, keeping their
    // state colour as the base. Zebra stripes (before shading) reflect bands that run across
    // stripes.xyz, stripes.w of them a unit of the reflection, seen along `light`.
    struct Lighting {
        bool shaded = false;
        vm::Vec4 light{0, 0, 1, 0};
        bool zebra = false;
        vm::Vec4 stripes{0, 1, 0, 8};
        // The curvature display (before the stripes): curvature::shaderScale's values.
        bool curvature = false;
        vm::Vec4 curvatureScale{1, -1, 0.5f, 0};
    };

    // The GPU stages where the device and the compiler build all four, else the CPU path; a
    // shader file that should compile and does not is fatal.
    void create(RenderState& state);
    void release() { *this = PatchPipeline{}; }
    bool tessellatesOnGpu() const { return gpuTessellation_; }

    // Every shown patch in its colour; the patches of a symmetry a second time, mirrored.
    // copy is the model's GPU copy.
    void drawPatches(const Model& model, const GpuModelCopy& copy, const PatchView& view,
                     bool wireframe, const Lighting& lighting);
    // The control nets of the shown patches, never mirrored nor blended.
    void drawControlNets(const Model& model, const GpuModelCopy& copy, const PatchView& view);

  private:
    ID3D11Device* device() const { return state_->device(); }
    ID3D11DeviceContext* context() const { return state_->context(); }
    void createShadedTriangles();
    void select(ID3D11Buffer* vertexBuffer, bool lines, bool wireframe, const Lighting& lighting);
    static size_t withRoom(size_t count);
    // A default-usage buffer of bytes, unfilled; a failure is the fatal error "arf".
    Microsoft::WRL::ComPtr<ID3D11Buffer> defaultBuffer(size_t bytes, UINT bindFlags,
                                                       const char* name);
    // Elements [first, end) of data into the same places of buffer, counted as sent.
    template <typename Element>
    void sendRange(ID3D11Buffer* buffer, const Element* data, size_t first, size_t end);
    void uploadCpuSurfaces(const SurfaceCache::Ranges& changed);
    void uploadTriangles(const PatchTriangles::Ranges& changed);
    void updateCpuDetail(const Model& model, const GpuModelCopy& copy, const vm::Mat4 world[2],
                         bool wireframe, bool curvature);
    void followCurvature(const Model& model, const SurfaceCache::Ranges& changed, bool shown);
    void updateNetIndices(const Model& model, const GpuModelCopy& copy);
    // Fills a dynamic index buffer, made (larger) anew only when count outgrows it.
    void uploadDynamicIndices(Microsoft::WRL::ComPtr<ID3D11Buffer>& buffer, size_t& capacity,
                              const void* indices, size_t count, const char* what);

    template <typename T> using ComPtr = Microsoft::WRL::ComPtr<T>;

    RenderState* state_ = nullptr;
    bool gpuTessellation_ = false;
    ComPtr<ID3D11VertexShader> vertexShader_;
    ComPtr<ID3D11HullShader> hullShader_;
    ComPtr<ID3D11DomainShader> domainShader_;
    ComPtr<ID3D11PixelShader> pixelShader_, shadedBezierPixelShader_;
    ComPtr<ID3D11Buffer> tessellationBuffer_;
    // Shaded patch triangles: positions in stream 0, normals in stream 1.
    ComPtr<ID3D11VertexShader> shadedVertexShader_;
    ComPtr<ID3D11PixelShader> shadedPixelShader_;
    ComPtr<ID3D11VertexShader> zebraVertexShader_;
    ComPtr<ID3D11PixelShader> zebraPixelShader_, zebraBezierPixelShader_;
    // Curvature-coloured triangles: the curvatures per vertex in stream 2.
    ComPtr<ID3D11VertexShader> curvatureVertexShader_;
    ComPtr<ID3D11PixelShader> curvaturePixelShader_, curvatureBezierPixelShader_;
    ComPtr<ID3D11InputLayout> shadedLayout_, curvatureLayout_;
    ComPtr<ID3D11Buffer> lightBuffer_;

    // The CPU path: every patch's grid of surface points, as finely as its size on the screen
    // asks (none outside the view), and the triangles this view draws of them. Levels are
    // worked out again when the model, the view or its size changes; grids only where the
    // level changed or points moved.
    struct CpuSurfaces {
        SurfaceCache cache;
        size_t vertexCapacity = 0;
        ComPtr<ID3D11Buffer> vertices;
        ComPtr<ID3D11Buffer> normals; // one per vertex, for the shaded display
        CurvatureGrids curvatures;    // while the curvature display shows
        CurvatureBuffer curvatureBuffer;
        PatchTriangles triangleList;
        ComPtr<ID3D11Buffer> triangles;
        size_t triangleCapacity = 0;
        // What the triangles were made for.
        const GpuModelCopy* detailCopy = nullptr;
        uint64_t detailTopology = 0, detailPoints = 0;
        std::vector<uint32_t> moved, touched; // the points moved since, and their patches
        vm::Mat4 detailView{}, detailWorld[2]{};
        float detailWidth = 0, detailHeight = 0;
        bool detailWireframe = false;
        std::vector<detail::Grid> grids;
        // The control nets this view draws: those of patches large enough on the screen for
        // their lines to be told apart (detail::kNetSegments or more a side), patch i's from
        // netFirst[i].
        ComPtr<ID3D11Buffer> nets; // dynamic
        size_t netCapacity = 0;
        std::vector<uint32_t> netFirst;
        std::vector<int32_t> netIndices, newNetIndices;
    } cpu_;
    // Every patch's control-net indices, one after the other.
    struct NetIndices {
        const GpuModelCopy* copy = nullptr;
        uint64_t revision = 0;
        ComPtr<ID3D11Buffer> indices;
    } netIndices_;
};
