#include "graphics/d3d11/patch-pipeline.h"

#include <d3dcompiler.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/win32/fatal-error.h"
#include "graphics/constant-buffers.h"
#include "graphics/d3d11/debug-name.h"
#include "graphics/d3d11/device-buffers.h"
#include "graphics/d3d11/shader-compiler.h"
#include "graphics/patch-colours.h"
#include "graphics/patch-detail.h"
#include "graphics/surface-cache.h"
#include "model/bezier-surface.h"

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t* const kShadedShader = L"graphics\\nuanceurs\\debug.shader";
const wchar_t* const kPatchShader = L"graphics\\nuanceurs\\tess\u00e9lateur.hlsl";
// The light's direction, the zebra stripes' and the curvature scale (LightConstants in both
// shader files).
constexpr UINT kLightBufferBytes = 12 * sizeof(float);
// The CPU path (a device that cannot tessellate, often a software one) hands the device the
// triangles drawn so far every this many: a rasteriser that starts on them while the rest are
// set up keeps every core busy, where one that waits for the present has the set-up alone at
// work, then the rasterising.
constexpr UINT kTrianglesPerFlush = 1 << 16;

// Whether this compiler builds hull shaders at all: a file that fails to compile is broken
// only if a known-good hull shader compiles.
bool compilerBuildsHullShaders() {
    static const char kProbe[] =
        "struct P { float3 p : POSITION; };\n"
        "struct F { float e[4] : SV_TessFactor; float i[2] : SV_InsideTessFactor; };\n"
        "F C(InputPatch<P, 16> ip) { F f; f.e[0] = f.e[1] = f.e[2] = f.e[3] = 1; f.i[0] = f.i[1] = "
        "1; return f; }\n"
        "[domain(\"quad\")] [partitioning(\"integer\")] [outputtopology(\"triangle_cw\")]\n"
        "[outputcontrolpoints(16)] [patchconstantfunc(\"C\")]\n"
        "P HS(InputPatch<P, 16> ip, uint i : SV_OutputControlPointID) { return ip[i]; }\n";
    ComPtr<ID3DBlob> code, errors;
    return SUCCEEDED(D3DCompile(kProbe, sizeof kProbe - 1, "probe", nullptr, nullptr, "HS",
                                "hs_5_0", 0, 0, &code, &errors));
}

const UINT kStride = sizeof(vm::Float3);

// The hull stage refines further than the CPU path: its segments cost no memory.
constexpr int kMaxGpuSegments = 64;

// An immutable list of 32-bit indices; failing to make it is the fatal error "arf".
template <typename Index>
ComPtr<ID3D11Buffer> createIndexList(ID3D11Device* device, const Index* indices, size_t count,
                                     const char* what) {
    static_assert(sizeof(Index) == 4);
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = static_cast<UINT>(count * sizeof(Index));
    desc.Usage = D3D11_USAGE_IMMUTABLE;
    desc.BindFlags = D3D11_BIND_INDEX_BUFFER;
    D3D11_SUBRESOURCE_DATA initial = {indices, 0, 0};
    ComPtr<ID3D11Buffer> buffer;
    checkSetup(device->CreateBuffer(&desc, &initial, &buffer), "arf", what);
    return buffer;
}

} // namespace

void PatchPipeline::create(RenderState& state) {
    state_ = &state;
    tessellationBuffer_ =
        createConstantBuffer(device(), sizeof(TessellationConstants), "arf", "tessellation buffer");
    createShadedTriangles();
    if (GetFileAttributesW(kPatchShader) == INVALID_FILE_ATTRIBUTES)
        fatalError("arf", "graphics\\nuanceurs\\tess\xc3\xa9lateur.hlsl is missing",
                   HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    if (state.featureLevel() < D3D_FEATURE_LEVEL_11_0) {
        OutputDebugStringA(
            "Patches: evaluated on the CPU (the device has no hull and domain stages)\n");
        return;
    }
    // All four stages or none: a compiler that builds the vertex shader but not the hull or
    // domain shader (Wine's) leaves the CPU path, never a half-made pipeline.
    ComPtr<ID3DBlob> vs, hs, ds, ps;
    HRESULT hr = compileShaderFile(kPatchShader, "BezierVS", state.shaderTarget("vs").c_str(), vs);
    if (SUCCEEDED(hr))
        hr = compileShaderFile(kPatchShader, "HS", state.shaderTarget("hs").c_str(), hs);
    if (SUCCEEDED(hr))
        hr = compileShaderFile(kPatchShader, "main", state.shaderTarget("ds").c_str(), ds);
    if (SUCCEEDED(hr))
        hr = compileShaderFile(kPatchShader, "BezierPS", state.shaderTarget("ps").c_str(), ps);
    if (FAILED(hr)) {
        // A file this compiler should take but does not is broken, not a limit of the platform.
        if (!compilerBuildsHullShaders()) {
            OutputDebugStringA("Patches: evaluated on the CPU (the shader compiler cannot build "
                               "hull and domain shaders)\n");
            return;
        }
        fatalError("arf", "tess\xc3\xa9lateur.hlsl does not compile", hr);
    }
    vertexShader_ = state.createVertexShader(vs.Get(), "BezierVS");
    checkSetup(device()->CreateHullShader(hs->GetBufferPointer(), hs->GetBufferSize(), nullptr,
                                          &hullShader_),
               "arf", "HS");
    checkSetup(device()->CreateDomainShader(ds->GetBufferPointer(), ds->GetBufferSize(), nullptr,
                                            &domainShader_),
               "arf", "main");
    checkSetup(device()->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr,
                                           &pixelShader_),
               "arf", "BezierPS");
    ComPtr<ID3DBlob> shadedPs;
    checkSetup(compileShaderFile(kPatchShader, "BezierShadedPS", state.shaderTarget("ps").c_str(),
                                 shadedPs),
               "arf", "BezierShadedPS");
    checkSetup(device()->CreatePixelShader(shadedPs->GetBufferPointer(), shadedPs->GetBufferSize(),
                                           nullptr, &shadedBezierPixelShader_),
               "arf", "BezierShadedPS");
    setDebugName(hullShader_.Get(), "Bezier hull shader");
    setDebugName(domainShader_.Get(), "Bezier domain shader");
    setDebugName(pixelShader_.Get(), "Bezier pixel shader");
    setDebugName(shadedBezierPixelShader_.Get(), "Bezier shaded pixel shader");
    ComPtr<ID3DBlob> zebraPs;
    checkSetup(
        compileShaderFile(kPatchShader, "BezierZebraPS", state.shaderTarget("ps").c_str(), zebraPs),
        "arf", "BezierZebraPS");
    checkSetup(device()->CreatePixelShader(zebraPs->GetBufferPointer(), zebraPs->GetBufferSize(),
                                           nullptr, &zebraBezierPixelShader_),
               "arf", "BezierZebraPS");
    setDebugName(zebraBezierPixelShader_.Get(), "Bezier zebra pixel shader");
    ComPtr<ID3DBlob> curvaturePs;
    checkSetup(compileShaderFile(kPatchShader, "BezierCurvaturePS",
                                 state.shaderTarget("ps").c_str(), curvaturePs),
               "arf", "BezierCurvaturePS");
    checkSetup(device()->CreatePixelShader(curvaturePs->GetBufferPointer(),
                                           curvaturePs->GetBufferSize(), nullptr,
                                           &curvatureBezierPixelShader_),
               "arf", "BezierCurvaturePS");
    setDebugName(curvatureBezierPixelShader_.Get(), "Bezier curvature pixel shader");
    gpuTessellation_ = true;
    OutputDebugStringA("Patches: tessellated on the GPU\n");
}

// The CPU path's triangles lit in the vertex stage: positions in stream 0, normals in 1.
void PatchPipeline::createShadedTriangles() {
    ComPtr<ID3DBlob> ps = state_->compileOrDie(kShadedShader, "ShadedPS", "ps", "arf");
    checkSetup(device()->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr,
                                           &shadedPixelShader_),
               "arf", "shaded pixel shader");
    setDebugName(shadedPixelShader_.Get(), "shaded pixel shader");
    ComPtr<ID3DBlob> vs = state_->compileOrDie(kShadedShader, "ShadedVS", "vs", "arf");
    shadedVertexShader_ = state_->createVertexShader(vs.Get(), "shaded vertex shader");
    const D3D11_INPUT_ELEMENT_DESC elements[2] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 1, 0, D3D11_INPUT_PER_VERTEX_DATA, 0}};
    checkSetup(device()->CreateInputLayout(elements, 2, vs->GetBufferPointer(), vs->GetBufferSize(),
                                           &shadedLayout_),
               "arf", "shaded layout");
    setDebugName(shadedLayout_.Get(), "positions and normals");
    // The same positions and normals, the normal carried to each pixel for the stripes.
    ComPtr<ID3DBlob> zebraVs = state_->compileOrDie(kShadedShader, "ZebraVS", "vs", "arf");
    zebraVertexShader_ = state_->createVertexShader(zebraVs.Get(), "zebra vertex shader");
    ComPtr<ID3DBlob> zebraPs = state_->compileOrDie(kShadedShader, "ZebraPS", "ps", "arf");
    checkSetup(device()->CreatePixelShader(zebraPs->GetBufferPointer(), zebraPs->GetBufferSize(),
                                           nullptr, &zebraPixelShader_),
               "arf", "zebra pixel shader");
    setDebugName(zebraPixelShader_.Get(), "zebra pixel shader");
    // Positions and normals again, and each vertex's curvatures from a third stream.
    ComPtr<ID3DBlob> curvatureVs = state_->compileOrDie(kShadedShader, "CurvatureVS", "vs", "arf");
    curvatureVertexShader_ =
        state_->createVertexShader(curvatureVs.Get(), "curvature vertex shader");
    const D3D11_INPUT_ELEMENT_DESC curvatureElements[3] = {
        elements[0],
        elements[1],
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 2, 0, D3D11_INPUT_PER_VERTEX_DATA, 0}};
    checkSetup(device()->CreateInputLayout(curvatureElements, 3, curvatureVs->GetBufferPointer(),
                                           curvatureVs->GetBufferSize(), &curvatureLayout_),
               "arf", "curvature layout");
    setDebugName(curvatureLayout_.Get(), "positions, normals and curvatures");
    ComPtr<ID3DBlob> curvaturePs = state_->compileOrDie(kShadedShader, "CurvaturePS", "ps", "arf");
    checkSetup(device()->CreatePixelShader(curvaturePs->GetBufferPointer(),
                                           curvaturePs->GetBufferSize(), nullptr,
                                           &curvaturePixelShader_),
               "arf", "curvature pixel shader");
    setDebugName(curvaturePixelShader_.Get(), "curvature pixel shader");
    lightBuffer_ = createConstantBuffer(device(), kLightBufferBytes, "arf", "light buffer");
}

void PatchPipeline::select(ID3D11Buffer* vertexBuffer, bool lines, bool wireframe,
                           const Lighting& lighting) {
    ID3D11DeviceContext* context = state_->context();
    ID3D11Buffer* transform = *state_->transformBuffer();
    const UINT offset = 0;
    context->IASetVertexBuffers(0, 1, &vertexBuffer, &kStride, &offset);
    context->IASetInputLayout(state_->positionLayout());
    context->VSSetConstantBuffers(0, 1, state_->transformBuffer());
    context->PSSetConstantBuffers(1, 1, state_->colourBuffer());
    const bool coloured = lighting.curvature && !lines && !wireframe &&
                          (gpuTessellation_ || cpu_.curvatureBuffer.buffer());
    const bool striped = lighting.zebra && !coloured && !lines && !wireframe;
    const bool lit = (lighting.shaded || striped || coloured) && !lines && !wireframe;
    if (lit) {
        const vm::Vec4 &s = lighting.stripes, &c = lighting.curvatureScale;
        const float l[kLightBufferBytes / sizeof(float)] = {lighting.light.x,
                                                            lighting.light.y,
                                                            lighting.light.z,
                                                            0,
                                                            s.x,
                                                            s.y,
                                                            s.z,
                                                            s.w,
                                                            c.x,
                                                            c.y,
                                                            c.z,
                                                            c.w};
        context->UpdateSubresource(lightBuffer_.Get(), 0, nullptr, l, 0, 0);
        state_->counts.bytesSent += sizeof l;
    }
    if (lit && !gpuTessellation_ && cpu_.normals) {
        // The CPU path's triangles with their normals (and curvatures): lit in the vertex stage.
        ID3D11Buffer* streams[3] = {vertexBuffer, cpu_.normals.Get(),
                                    cpu_.curvatureBuffer.buffer()};
        const UINT strides[3] = {kStride, kStride, CurvatureBuffer::kStride},
                   offsets[3] = {0, 0, 0};
        context->IASetVertexBuffers(0, coloured ? 3 : 2, streams, strides, offsets);
        context->IASetInputLayout(coloured ? curvatureLayout_.Get() : shadedLayout_.Get());
        ID3D11Buffer* vsBuffers[3] = {transform, nullptr, lightBuffer_.Get()};
        context->VSSetConstantBuffers(0, 3, vsBuffers);
        context->VSSetShader(coloured  ? curvatureVertexShader_.Get()
                             : striped ? zebraVertexShader_.Get()
                                       : shadedVertexShader_.Get(),
                             nullptr, 0);
        context->HSSetShader(nullptr, nullptr, 0);
        context->DSSetShader(nullptr, nullptr, 0);
        ID3D11Buffer* psBuffers[2] = {*state_->colourBuffer(), lightBuffer_.Get()};
        context->PSSetConstantBuffers(1, 2, psBuffers);
        context->PSSetShader(coloured  ? curvaturePixelShader_.Get()
                             : striped ? zebraPixelShader_.Get()
                                       : shadedPixelShader_.Get(),
                             nullptr, 0);
        context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
        state_->setRasterizer(RenderState::Solid);
        return;
    }
    if (lines || !gpuTessellation_) {
        // Lines, and the CPU path's ready-made triangles, need only placing and colouring.
        state_->bindPlainShaders();
        context->IASetPrimitiveTopology(lines ? D3D11_PRIMITIVE_TOPOLOGY_LINELIST
                                              : D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
        if (!lines) state_->setRasterizer(wireframe ? RenderState::Wireframe : RenderState::Solid);
        return;
    }
    context->VSSetShader(vertexShader_.Get(), nullptr, 0);
    context->HSSetShader(hullShader_.Get(), nullptr, 0);
    context->DSSetShader(domainShader_.Get(), nullptr, 0);
    ID3D11Buffer* hullBuffers[2] = {transform, tessellationBuffer_.Get()};
    context->HSSetConstantBuffers(0, 2, hullBuffers);
    ID3D11Buffer* dsBuffers[3] = {transform, nullptr, lightBuffer_.Get()};
    context->DSSetConstantBuffers(0, 3, dsBuffers);
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_16_CONTROL_POINT_PATCHLIST);
    if (lit) {
        ID3D11Buffer* psBuffers[2] = {*state_->colourBuffer(), lightBuffer_.Get()};
        context->PSSetConstantBuffers(1, 2, psBuffers);
    }
    context->PSSetShader(wireframe  ? state_->plainPixelShader()
                         : coloured ? curvatureBezierPixelShader_.Get()
                         : striped  ? zebraBezierPixelShader_.Get()
                         : lit      ? shadedBezierPixelShader_.Get()
                                    : pixelShader_.Get(),
                         nullptr, 0);
    state_->setRasterizer(wireframe ? RenderState::Wireframe : RenderState::Solid);
    D3D11_VIEWPORT viewport = {};
    UINT viewports = 1;
    context->RSGetViewports(&viewports, &viewport);
    TessellationConstants tessellation;
    tessellation.maxFactor = static_cast<float>(kMaxGpuSegments);
    tessellation.pixelsPerSegment =
        wireframe ? detail::kWireframePixelsPerSegment : detail::kPixelsPerSegment;
    tessellation.halfWidth = 0.5f * viewport.Width;
    tessellation.halfHeight = 0.5f * viewport.Height;
    context->UpdateSubresource(tessellationBuffer_.Get(), 0, nullptr, &tessellation, 0, 0);
    state_->counts.bytesSent += sizeof tessellation;
}

// Room to grow: an orbit or a drag that draws a few patches finer keeps the buffers.
size_t PatchPipeline::withRoom(size_t count) {
    return std::max<size_t>(count, 1024) * 5 / 4;
}

ComPtr<ID3D11Buffer> PatchPipeline::defaultBuffer(size_t bytes, UINT bindFlags, const char* name) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = static_cast<UINT>(bytes);
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = bindFlags;
    ComPtr<ID3D11Buffer> buffer;
    checkSetup(device()->CreateBuffer(&desc, nullptr, &buffer), "arf", name);
    setDebugName(buffer.Get(), name);
    return buffer;
}

template <typename Element>
void PatchPipeline::sendRange(ID3D11Buffer* buffer, const Element* data, size_t first, size_t end) {
    const D3D11_BOX box = {static_cast<UINT>(first * sizeof(Element)), 0, 0,
                           static_cast<UINT>(end * sizeof(Element)),   1, 1};
    context()->UpdateSubresource(buffer, 0, &box, data + first, 0, 0);
    state_->counts.bytesSent += (end - first) * sizeof(Element);
}

void PatchPipeline::uploadCpuSurfaces(const SurfaceCache::Ranges& changed) {
    CpuSurfaces& s = cpu_;
    const std::vector<vm::Float3>& vertices = s.cache.vertices();
    if (vertices.size() > s.vertexCapacity || !s.vertices) {
        s.vertexCapacity = withRoom(vertices.size());
        const size_t bytes = s.vertexCapacity * sizeof(vm::Float3);
        s.vertices = defaultBuffer(bytes, D3D11_BIND_VERTEX_BUFFER, "patch surface vertices");
        s.normals = defaultBuffer(bytes, D3D11_BIND_VERTEX_BUFFER, "patch surface normals");
    }
    // Only the grids evaluated again go up: a point drag sends a few patches.
    for (const auto& [first, end] : changed) {
        sendRange(s.vertices.Get(), vertices.data(), first, end);
        sendRange(s.normals.Get(), s.cache.normals().data(), first, end);
    }
}

void PatchPipeline::followCurvature(const Model& model, const SurfaceCache::Ranges& changed,
                                    bool shown) {
    CpuSurfaces& s = cpu_;
    const SurfaceCache::Ranges& ranges = s.curvatures.follow(model, s.cache, changed, shown);
    if (shown && s.vertices)
        state_->counts.bytesSent += s.curvatureBuffer.upload(
            device(), context(), s.curvatures.values(), ranges, s.vertexCapacity);
}

namespace {
bool sameMatrix(const vm::Mat4& a, const vm::Mat4& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
// Equal components (a NaN alpha never equals: such a patch is drawn on its own).
bool sameColour(const vm::Vec4& a, const vm::Vec4& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
} // namespace

void PatchPipeline::uploadDynamicIndices(ComPtr<ID3D11Buffer>& buffer, size_t& capacity,
                                         const void* indices, size_t count, const char* what) {
    if (count > capacity || !buffer) {
        capacity = std::max<size_t>(count, 64) * 3 / 2; // room to grow without a new buffer
        D3D11_BUFFER_DESC desc = {};
        desc.ByteWidth = static_cast<UINT>(capacity * sizeof(uint32_t));
        desc.Usage = D3D11_USAGE_DYNAMIC;
        desc.BindFlags = D3D11_BIND_INDEX_BUFFER;
        desc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
        buffer.Reset();
        checkSetup(device()->CreateBuffer(&desc, nullptr, &buffer), "arf", what);
    }
    if (count == 0) return;
    D3D11_MAPPED_SUBRESOURCE mapped;
    checkSetup(context()->Map(buffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), "error", what);
    std::memcpy(mapped.pData, indices, count * sizeof(uint32_t));
    state_->counts.bytesSent += count * sizeof(uint32_t);
    context()->Unmap(buffer.Get(), 0);
}

void PatchPipeline::uploadTriangles(const PatchTriangles::Ranges& changed) {
    CpuSurfaces& s = cpu_;
    const std::vector<uint32_t>& indices = s.triangleList.indices();
    if (indices.size() > s.triangleCapacity || !s.triangles) {
        s.triangleCapacity = withRoom(indices.size());
        s.triangles = defaultBuffer(s.triangleCapacity * sizeof(uint32_t), D3D11_BIND_INDEX_BUFFER,
                                    "patch triangle indices");
    }
    for (const auto& [first, end] : changed)
        sendRange(s.triangles.Get(), indices.data(), first, end);
}

void PatchPipeline::updateCpuDetail(const Model& model, const GpuModelCopy& copy,
                                    const vm::Mat4 world[2], bool wireframe, bool curvature) {
    const vm::Mat4& viewProjection = state_->viewProjection;
    D3D11_VIEWPORT viewport = {};
    UINT viewports = 1;
    context()->RSGetViewports(&viewports, &viewport);
    const int width = static_cast<int>(viewport.Width), height = static_cast<int>(viewport.Height);
    CpuSurfaces& s = cpu_;
    const bool sameView =
        s.triangles && s.detailCopy == &copy && s.detailTopology == copy.topologyRevision() &&
        s.grids.size() == model.patches.size() && sameMatrix(s.detailView, viewProjection) &&
        sameMatrix(s.detailWorld[0], world[0]) && sameMatrix(s.detailWorld[1], world[1]) &&
        s.detailWidth == viewport.Width && s.detailHeight == viewport.Height &&
        s.detailWireframe == wireframe;
    const float pixels = wireframe ? detail::kWireframePixelsPerSegment : detail::kPixelsPerSegment;
    if (sameView && s.detailPoints == copy.pointsRevision()) {
        followCurvature(model, {}, curvature); // it may have just been turned on
        return;
    }
    // Points that moved change only their patches' size on the screen.
    if (sameView && copy.pointsMovedSince(s.detailPoints, s.moved)) {
        s.cache.patchesUsing(s.moved, s.touched);
        detail::updateSegments(model, world, viewProjection, width, height, s.touched, s.grids,
                               pixels);
    } else {
        detail::patchSegments(model, world, viewProjection, width, height, s.grids, pixels);
    }
    const SurfaceCache::Ranges& changed = s.cache.update(model, copy, s.grids);
    uploadCpuSurfaces(changed);
    followCurvature(model, changed, curvature);
    s.detailCopy = &copy;
    s.detailPoints = copy.pointsRevision();
    s.detailView = viewProjection;
    s.detailWorld[0] = world[0];
    s.detailWorld[1] = world[1];
    s.detailWidth = viewport.Width;
    s.detailHeight = viewport.Height;
    s.detailWireframe = wireframe;
    // The triangles and nets stay while every patch keeps its level and its place.
    if (!s.cache.relaid() && s.detailTopology == copy.topologyRevision()) return;
    const bool topologyChanged = s.detailTopology != copy.topologyRevision();
    s.detailTopology = copy.topologyRevision();
    uploadTriangles(s.triangleList.follow(model, s.cache, topologyChanged));
    s.netFirst.resize(model.patches.size() + 1);
    std::vector<int32_t>& nets = s.newNetIndices;
    nets.clear();
    for (size_t i = 0; i < model.patches.size(); ++i) {
        s.netFirst[i] = static_cast<uint32_t>(nets.size());
        if (detail::longestSide(s.grids[i]) < detail::kNetSegments) continue;
        const std::array<int32_t, 36> net = controlNetIndices(model.patches[i]);
        nets.insert(nets.end(), net.begin(), net.end());
    }
    s.netFirst.back() = static_cast<uint32_t>(nets.size());
    // Most level changes leave the nets shown as they were; mapping the buffer anew would
    // make the driver wait for the frames that still draw from it.
    if (s.nets && nets == s.netIndices) return;
    s.netIndices.swap(nets);
    uploadDynamicIndices(s.nets, s.netCapacity, s.netIndices.data(), s.netIndices.size(),
                         "control net indices");
}

void PatchPipeline::drawPatches(const Model& model, const GpuModelCopy& copy, const PatchView& view,
                                bool wireframe, const Lighting& lighting) {
    // An empty pool has no buffers and nothing to draw.
    if (!copy.vertexBuffer() || !copy.patchIndices()) return;
    const bool cpu = !gpuTessellation_;
    const vm::Mat4 worlds[2] = {view.world, view.mirroredWorld};
    if (cpu) {
        updateCpuDetail(model, copy, worlds, wireframe, lighting.curvature && !wireframe);
        if (!cpu_.vertices || !cpu_.triangles) return;
        context()->IASetIndexBuffer(cpu_.triangles.Get(), DXGI_FORMAT_R32_UINT, 0);
    }
    select(cpu ? cpu_.vertices.Get() : DeviceBufferFactory::bufferOf(copy.vertexBuffer()), false,
           wireframe, lighting);
    if (!cpu)
        context()->IASetIndexBuffer(DeviceBufferFactory::bufferOf(copy.patchIndices()),
                                    DXGI_FORMAT_R32_UINT, 0);
    int boundWorld = -1;
    vm::Vec4 boundColour{-1, -1, -1, -1};
    auto useWorld = [&](int copy) {
        if (boundWorld == copy) return;
        state_->setWorld(worlds[copy]);
        boundWorld = copy;
    };

    // Opaque patches first, then the translucent ones over them. On the CPU path a run of
    // patches with one colour and one world whose triangles follow each other is one draw.
    const size_t count = model.patches.size();
    struct Run {
        UINT first = 0, end = 0;
        vm::Vec4 colour{};
        bool mirrored = false;
    } run;
    UINT trianglesSinceFlush = 0;
    auto flush = [&] {
        if (run.end <= run.first) return;
        if (!sameColour(run.colour, boundColour)) {
            state_->setColour(run.colour);
            boundColour = run.colour;
        }
        for (int copy = 0; copy < (run.mirrored ? 2 : 1); ++copy) {
            useWorld(copy);
            if (cpu) {
                context()->DrawIndexed(run.end - run.first, run.first, 0);
                state_->counts.drawTriangles(run.end - run.first);
                trianglesSinceFlush += (run.end - run.first) / 3;
                if (trianglesSinceFlush >= kTrianglesPerFlush) {
                    context()->Flush();
                    trianglesSinceFlush = 0;
                }
            } else {
                for (UINT p = run.first; p < run.end; ++p)
                    context()->DrawIndexed(16, 16 * p, 0);
                state_->counts.draws += run.end - run.first;
            }
        }
        run = {};
    };
    for (bool blend : {false, true}) {
        if (blend) state_->setBlending(true);
        for (size_t i = 0; i < count; ++i) {
            const Model::Patch& patch = model.patches[i];
            if (!model.isShown(patch) || patchBlends(patch) != blend) continue;
            const vm::Vec4 colour = patchColour(patch, static_cast<int>(i) == view.hoveredPatch);
            const bool mirrored = model.isSymmetry(patch.group);
            // The GPU path's patches are 16 indices each, in patch order.
            const UINT first = cpu ? cpu_.triangleList.first(i) : static_cast<UINT>(i);
            const UINT end = cpu ? cpu_.triangleList.end(i) : static_cast<UINT>(i + 1);
            const bool joins = run.end > run.first && first == run.end &&
                               mirrored == run.mirrored && sameColour(colour, run.colour);
            if (!joins) {
                flush();
                run.first = first;
                run.colour = colour;
                run.mirrored = mirrored;
            }
            run.end = end;
        }
        flush();
        if (blend) state_->setBlending(false);
    }
}

void PatchPipeline::updateNetIndices(const Model& model, const GpuModelCopy& copy) {
    // The nets' indices follow the patches, not the points: a drag keeps them.
    if (netIndices_.copy == &copy && netIndices_.revision == copy.topologyRevision()) return;
    std::vector<int32_t> indices(model.patches.size() * 36);
    for (size_t i = 0; i < model.patches.size(); ++i) {
        const std::array<int32_t, 36> net = controlNetIndices(model.patches[i]);
        std::copy(net.begin(), net.end(), indices.begin() + static_cast<ptrdiff_t>(i * 36));
    }
    netIndices_.indices.Reset();
    if (!indices.empty())
        netIndices_.indices =
            createIndexList(device(), indices.data(), indices.size(), "control net indices");
    netIndices_.copy = &copy;
    netIndices_.revision = copy.topologyRevision();
}

void PatchPipeline::drawControlNets(const Model& model, const GpuModelCopy& copy,
                                    const PatchView& view) {
    if (!copy.vertexBuffer() || model.patches.empty()) return;
    // The CPU path has just chosen, for this view, which nets are large enough to show.
    const CpuSurfaces& s = cpu_;
    const bool chosen = !gpuTessellation_ && s.nets && s.detailCopy == &copy &&
                        s.detailTopology == copy.topologyRevision() &&
                        s.detailPoints == copy.pointsRevision() &&
                        s.netFirst.size() == model.patches.size() + 1;
    if (!chosen) updateNetIndices(model, copy);
    state_->setWorld(view.world);
    select(DeviceBufferFactory::bufferOf(copy.vertexBuffer()), true, false, {});
    context()->IASetIndexBuffer(chosen ? s.nets.Get() : netIndices_.indices.Get(),
                                DXGI_FORMAT_R32_UINT, 0);
    // Every patch's 36 indices follow the previous patch's: neighbours in one colour are one draw.
    const size_t count = model.patches.size();
    for (size_t i = 0; i < count;) {
        if (!model.isShown(i)) {
            ++i;
            continue;
        }
        auto colourOf = [&](size_t k) {
            return controlNetColour(model.patches[k], static_cast<int>(k) == view.hoveredPatch);
        };
        const vm::Vec4 colour = colourOf(i);
        size_t end = i + 1;
        while (end < count && model.isShown(end)) {
            const vm::Vec4 c = colourOf(end);
            if (c.x != colour.x || c.y != colour.y || c.z != colour.z) break;
            ++end;
        }
        const UINT first = chosen ? s.netFirst[i] : static_cast<UINT>(i * 36);
        const UINT last = chosen ? s.netFirst[end] : static_cast<UINT>(end * 36);
        if (last > first) {
            state_->setColour(colour);
            context()->DrawIndexed(last - first, first, 0);
            state_->counts.drawLines(last - first);
        }
        i = end;
    }
}
