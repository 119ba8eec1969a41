// Bicubic Bezier patches from "tessélateur.hlsl": tessellated by the hull and domain stages,
// or evaluated on the CPU at the same factor where the platform cannot tessellate.
#include <d3dcompiler.h>

#include <vector>

#include "core/editor-state.h"
#include "core/fatal-error.h"
#include "editor/edit-xform.h"
#include "graphics/patch-colours.h"
#include "graphics/renderer.h"
#include "graphics/shader-compiler.h"
#include "model/bezier-surface.h"

namespace {

const wchar_t* const kPatchShader = L"graphics\\nuanceurs\\tess\u00e9lateur.hlsl";

// Whether this compiler builds hull shaders at all: a file that fails to compile is broken
// only if a known-good hull shader compiles.
bool compilerBuildsHullShaders() {
    static const char kProbe[] =
        "struct P { float3 p : POSITION; };\n"
        "struct F { float e[4] : SV_TessFactor; float i[2] : SV_InsideTessFactor; };\n"
        "F C(InputPatch<P, 16> ip) { F f; f.e[0] = f.e[1] = f.e[2] = f.e[3] = 1; f.i[0] = f.i[1] = 1; return f; }\n"
        "[domain(\"quad\")] [partitioning(\"integer\")] [outputtopology(\"triangle_cw\")]\n"
        "[outputcontrolpoints(16)] [patchconstantfunc(\"C\")]\n"
        "P HS(InputPatch<P, 16> ip, uint i : SV_OutputControlPointID) { return ip[i]; }\n";
    ComPtr<ID3DBlob> code, errors;
    return SUCCEEDED(D3DCompile(kProbe, sizeof kProbe - 1, "probe", nullptr, nullptr, "HS", "hs_5_0",
                                0, 0, &code, &errors));
}

const UINT kStride = sizeof(vm::Float3);

} // namespace

void Renderer::createPatchPipeline() {
    if (GetFileAttributesW(kPatchShader) == INVALID_FILE_ATTRIBUTES)
        fatalError("arf", "graphics\\nuanceurs\\tess\xc3\xa9lateur.hlsl is missing",
                   HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    if (featureLevel_ < D3D_FEATURE_LEVEL_11_0) {
        OutputDebugStringA("Patches: evaluated on the CPU (the device has no hull and domain stages)\n");
    } else {
        ComPtr<ID3DBlob> vs;
        HRESULT hr = compileShaderFile(kPatchShader, "BezierVS", "vs_5_0", vs);
        if (FAILED(hr) && compilerBuildsHullShaders()) fatalError("arf", "BezierVS", hr);
        if (SUCCEEDED(hr)) {
            checkSetup(device_->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(),
                                                   nullptr, &bezierVertexShader_),
                       "arf", "BezierVS");
            ComPtr<ID3DBlob> hs = compileOrDie(kPatchShader, "HS", "hs", "arf");
            checkSetup(device_->CreateHullShader(hs->GetBufferPointer(), hs->GetBufferSize(), nullptr,
                                                 &hullShader_),
                       "arf", "HS");
            ComPtr<ID3DBlob> ps = compileOrDie(kPatchShader, "BezierPS", "ps", "arf");
            checkSetup(device_->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(),
                                                  nullptr, &bezierPixelShader_),
                       "arf", "BezierPS");
            ComPtr<ID3DBlob> ds = compileOrDie(kPatchShader, "main", "ds", "arf");
            checkSetup(device_->CreateDomainShader(ds->GetBufferPointer(), ds->GetBufferSize(),
                                                   nullptr, &domainShader_),
                       "arf", "main");
            gpuTessellation_ = true;
            OutputDebugStringA("Patches: tessellated on the GPU\n");
        } else {
            OutputDebugStringA("Patches: evaluated on the CPU (the shader compiler cannot build "
                               "hull and domain shaders)\n");
        }
    }
    if (!gpuTessellation_) {
        const auto& triangles = bezier::triangleIndices();
        D3D11_BUFFER_DESC desc = {};
        desc.ByteWidth = static_cast<UINT>(triangles.size() * sizeof(uint32_t));
        desc.Usage = D3D11_USAGE_IMMUTABLE;
        desc.BindFlags = D3D11_BIND_INDEX_BUFFER;
        D3D11_SUBRESOURCE_DATA initial = {triangles.data(), 0, 0};
        checkSetup(device_->CreateBuffer(&desc, &initial, &cpuSurfaces_.triangles), "arf",
                   "patch triangle indices");
    }
}

void Renderer::selectPatchPipeline(ID3D11Buffer* vertexBuffer, bool lines, bool wireframe) {
    const UINT offset = 0;
    context_->IASetVertexBuffers(0, 1, &vertexBuffer, &kStride, &offset);
    context_->IASetInputLayout(positionLayout_.Get());
    context_->VSSetConstantBuffers(0, 1, transformBuffer_.GetAddressOf());
    context_->PSSetConstantBuffers(1, 1, colourBuffer_.GetAddressOf());
    if (lines || !gpuTessellation_) {
        // Lines, and the CPU path's ready-made triangles, need only placing and colouring.
        context_->VSSetShader(lineVertexShader_.Get(), nullptr, 0);
        context_->HSSetShader(nullptr, nullptr, 0);
        context_->DSSetShader(nullptr, nullptr, 0);
        context_->PSSetShader(linePixelShader_.Get(), nullptr, 0);
        context_->IASetPrimitiveTopology(lines ? D3D11_PRIMITIVE_TOPOLOGY_LINELIST
                                               : D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
        if (!lines) context_->RSSetState(rasterizerStates_[wireframe ? 2 : 0].Get());
        return;
    }
    context_->VSSetShader(bezierVertexShader_.Get(), nullptr, 0);
    context_->HSSetShader(hullShader_.Get(), nullptr, 0);
    context_->DSSetShader(domainShader_.Get(), nullptr, 0);
    ID3D11Buffer* hullBuffers[2] = {transformBuffer_.Get(), tessellationBuffer_.Get()};
    context_->HSSetConstantBuffers(0, 2, hullBuffers);
    context_->DSSetConstantBuffers(0, 1, transformBuffer_.GetAddressOf());
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_16_CONTROL_POINT_PATCHLIST);
    context_->PSSetShader(wireframe ? linePixelShader_.Get() : bezierPixelShader_.Get(), nullptr, 0);
    context_->RSSetState(rasterizerStates_[wireframe ? 2 : 0].Get());
    TessellationConstants tessellation;
    tessellation.factor = static_cast<float>(bezier::kFactor);
    context_->UpdateSubresource(tessellationBuffer_.Get(), 0, nullptr, &tessellation, 0, 0);
}

void Renderer::updateCpuSurfaces(const Model& model) {
    if (cpuSurfaces_.model == &model && cpuSurfaces_.revision == model.revision) return;
    std::vector<vm::Float3> vertices(model.patches.size() * bezier::kGridVertices);
    for (size_t i = 0; i < model.patches.size(); ++i)
        bezier::tessellate(bezier::controlPoints(model, model.patches[i]),
                           vertices.data() + i * bezier::kGridVertices);
    if (vertices.size() != cpuSurfaces_.vertexCount) {
        cpuSurfaces_.vertices.Reset();
        if (!vertices.empty()) {
            D3D11_BUFFER_DESC desc = {};
            desc.ByteWidth = static_cast<UINT>(vertices.size() * sizeof(vm::Float3));
            desc.Usage = D3D11_USAGE_DEFAULT;
            desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
            checkSetup(device_->CreateBuffer(&desc, nullptr, &cpuSurfaces_.vertices), "arf",
                       "patch surface vertices");
        }
        cpuSurfaces_.vertexCount = vertices.size();
    }
    if (cpuSurfaces_.vertices)
        context_->UpdateSubresource(cpuSurfaces_.vertices.Get(), 0, nullptr, vertices.data(), 0, 0);
    cpuSurfaces_.model = &model;
    cpuSurfaces_.revision = model.revision;
}

void Renderer::drawPatchCopy(const Model& model, size_t patch, bool cpu) {
    if (cpu) {
        context_->IASetIndexBuffer(cpuSurfaces_.triangles.Get(), DXGI_FORMAT_R32_UINT, 0);
        context_->DrawIndexed(bezier::kTriangleIndices, 0,
                              static_cast<INT>(patch * bezier::kGridVertices));
    } else {
        context_->IASetIndexBuffer(DeviceBufferFactory::get(model.patchIndexBuffers[patch].get()),
                                   DXGI_FORMAT_R32_UINT, 0);
        context_->DrawIndexed(16, 0, 0);
    }
}

void Renderer::drawPatches(const Model& model, const vm::Mat4& entity, bool wireframe,
                           const EditorState& editor) {
    // An empty pool has no buffers and nothing to draw.
    if (!model.vertexBuffer || model.patchIndexBuffers.size() != model.patches.size()) return;
    const bool cpu = !gpuTessellation_;
    if (cpu) {
        updateCpuSurfaces(model);
        if (!cpuSurfaces_.vertices) return;
    }
    selectPatchPipeline(cpu ? cpuSurfaces_.vertices.Get() : DeviceBufferFactory::get(model.vertexBuffer.get()),
                        false, wireframe);
    const vm::Mat4 worlds[2] = {displayMatrix(editor, entity, false), displayMatrix(editor, entity, true)};
    for (size_t i = 0; i < model.patches.size(); ++i) {
        const Model::Patch& patch = model.patches[i];
        if (!model.isShown(patch)) continue;
        const bool mirrored = model.isSymmetry(patch.group);
        setColour(patchColour(patch, static_cast<int>(i) == editor.hoveredPatch));
        const bool blend = patchBlends(patch);
        if (blend) context_->OMSetBlendState(alphaBlend_.Get(), nullptr, 0xFFFFFFFF);
        for (int copy = 0; copy < (mirrored ? 2 : 1); ++copy) {
            setWorld(worlds[copy]);
            drawPatchCopy(model, i, cpu);
        }
        if (blend) context_->OMSetBlendState(nullptr, nullptr, 0xFFFFFFFF);
    }
}

void Renderer::drawControlNets(const Model& model, const vm::Mat4& entity, const EditorState& editor) {
    if (!model.vertexBuffer || model.netIndexBuffers.size() != model.patches.size()) return;
    setWorld(displayMatrix(editor, entity, false));
    selectPatchPipeline(DeviceBufferFactory::get(model.vertexBuffer.get()), true, false);
    for (size_t i = 0; i < model.patches.size(); ++i) {
        const Model::Patch& patch = model.patches[i];
        if (!model.isShown(patch)) continue;
        setColour(controlNetColour(patch, static_cast<int>(i) == editor.hoveredPatch));
        context_->IASetIndexBuffer(DeviceBufferFactory::get(model.netIndexBuffers[i].get()),
                                   DXGI_FORMAT_R32_UINT, 0);
        context_->DrawIndexed(36, 0, 0);
    }
}
