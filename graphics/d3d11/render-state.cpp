#include "graphics/d3d11/render-state.h"

#include <cfloat>

#include "core/win32/fatal-error.h"
#include "graphics/constant-buffers.h"
#include "graphics/d3d11/debug-name.h"
#include "graphics/d3d11/shader-compiler.h"

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t* const kPlainShader = L"graphics\\nuanceurs\\debug.shader";
} // namespace

ComPtr<ID3D11Buffer> createConstantBuffer(ID3D11Device* device, UINT bytes, const char* text,
                                          const char* what) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = bytes;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    ComPtr<ID3D11Buffer> buffer;
    checkSetup(device->CreateBuffer(&desc, nullptr, &buffer), text, what);
    setDebugName(buffer.Get(), what);
    return buffer;
}

void RenderState::create(const DeviceResources& resources) {
    resources_ = &resources;
    transformBuffer_ =
        createConstantBuffer(device(), sizeof(TransformConstants), "arf", "transform buffer");
    colourBuffer_ = createConstantBuffer(device(), sizeof(ColourConstants), "arf", "colour buffer");

    D3D11_RASTERIZER_DESC raster = {};
    raster.FrontCounterClockwise = FALSE;
    raster.DepthClipEnable = TRUE;
    const D3D11_FILL_MODE fills[3] = {D3D11_FILL_SOLID, D3D11_FILL_SOLID, D3D11_FILL_WIREFRAME};
    const D3D11_CULL_MODE culls[3] = {D3D11_CULL_NONE, D3D11_CULL_BACK, D3D11_CULL_NONE};
    const char* const names[3] = {"solid", "solid culling back", "wireframe"};
    for (int i = 0; i < 3; ++i) {
        raster.FillMode = fills[i];
        raster.CullMode = culls[i];
        device()->CreateRasterizerState(&raster, &rasterizerStates_[i]);
        setDebugName(rasterizerStates_[i].Get(), names[i]);
    }
    setRasterizer(SolidCullBack);

    D3D11_SAMPLER_DESC sampler = {};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.ComparisonFunc = D3D11_COMPARISON_LESS;
    sampler.MaxLOD = FLT_MAX;
    checkSetup(device()->CreateSamplerState(&sampler, &sampler_), "error", "sampler");
    setDebugName(sampler_.Get(), "point sampler");
    context()->PSSetSamplers(0, 1, sampler_.GetAddressOf());

    D3D11_BLEND_DESC blend = {};
    blend.RenderTarget[0].BlendEnable = TRUE;
    blend.RenderTarget[0].SrcBlend = D3D11_BLEND_SRC_ALPHA;
    blend.RenderTarget[0].DestBlend = D3D11_BLEND_INV_SRC_ALPHA;
    blend.RenderTarget[0].BlendOp = D3D11_BLEND_OP_ADD;
    blend.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_ONE;
    blend.RenderTarget[0].DestBlendAlpha = D3D11_BLEND_ONE;
    blend.RenderTarget[0].BlendOpAlpha = D3D11_BLEND_OP_MAX;
    blend.RenderTarget[0].RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
    checkSetup(device()->CreateBlendState(&blend, &alphaBlend_), "error", "alpha blend state");
    setDebugName(alphaBlend_.Get(), "alpha blend");

    plainPixelShader_ = compilePixelShader(kPlainShader);
    ComPtr<ID3DBlob> vs = compileOrDie(kPlainShader, "VS", "vs", "arf");
    plainVertexShader_ = createVertexShader(vs.Get(), "plain colour vertex shader");
    const D3D11_INPUT_ELEMENT_DESC position = {
        "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0};
    checkSetup(device()->CreateInputLayout(&position, 1, vs->GetBufferPointer(),
                                           vs->GetBufferSize(), &positionLayout_),
               "arf", "position layout");
    setDebugName(positionLayout_.Get(), "float3 positions");
}

void RenderState::release() {
    transformBuffer_.Reset();
    colourBuffer_.Reset();
    for (auto& state : rasterizerStates_)
        state.Reset();
    alphaBlend_.Reset();
    sampler_.Reset();
    plainVertexShader_.Reset();
    plainPixelShader_.Reset();
    positionLayout_.Reset();
    resources_ = nullptr;
}

void RenderState::setWorld(const vm::Mat4& m) {
    world = m;
    TransformConstants constants{vm::transpose(world), vm::transpose(viewProjection)};
    context()->UpdateSubresource(transformBuffer_.Get(), 0, nullptr, &constants, 0, 0);
    counts.bytesSent += sizeof constants;
}

void RenderState::setColour(vm::Vec4 colour) {
    ColourConstants constants{colour};
    context()->PSSetConstantBuffers(1, 1, colourBuffer_.GetAddressOf());
    context()->UpdateSubresource(colourBuffer_.Get(), 0, nullptr, &constants, 0, 0);
    counts.bytesSent += sizeof constants;
}

void RenderState::setRasterizer(Rasterizer state) {
    context()->RSSetState(rasterizerStates_[state].Get());
}

void RenderState::setBlending(bool on) {
    context()->OMSetBlendState(on ? alphaBlend_.Get() : nullptr, nullptr, 0xFFFFFFFF);
}

void RenderState::bindPlainShaders() {
    context()->IASetInputLayout(positionLayout_.Get());
    context()->VSSetShader(plainVertexShader_.Get(), nullptr, 0);
    context()->VSSetConstantBuffers(0, 1, transformBuffer_.GetAddressOf());
    context()->HSSetShader(nullptr, nullptr, 0);
    context()->DSSetShader(nullptr, nullptr, 0);
    context()->PSSetShader(plainPixelShader_.Get(), nullptr, 0);
}

std::string RenderState::shaderTarget(const char* stage) const {
    // Shader model 5 from level 11_0 on, as the program asks for; older devices get the
    // highest model they run.
    const D3D_FEATURE_LEVEL level = featureLevel();
    const char* model = level >= D3D_FEATURE_LEVEL_11_0   ? "_5_0"
                        : level >= D3D_FEATURE_LEVEL_10_1 ? "_4_1"
                        : level >= D3D_FEATURE_LEVEL_10_0 ? "_4_0"
                        : level >= D3D_FEATURE_LEVEL_9_3  ? "_4_0_level_9_3"
                                                          : "_4_0_level_9_1";
    return std::string(stage) + model;
}

ComPtr<ID3DBlob> RenderState::compileOrDie(const wchar_t* path, const char* entry,
                                           const char* stage, const char* text) {
    ComPtr<ID3DBlob> code;
    checkSetup(compileShaderFile(path, entry, shaderTarget(stage).c_str(), code), text,
               "shader compilation");
    return code;
}

ComPtr<ID3D11PixelShader> RenderState::compilePixelShader(const wchar_t* path) {
    ComPtr<ID3DBlob> code = compileOrDie(path, "PS", "ps", "arf");
    ComPtr<ID3D11PixelShader> shader;
    checkSetup(device()->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                           &shader),
               "arf", "pixel shader creation");
    return shader;
}

ComPtr<ID3D11VertexShader> RenderState::createVertexShader(ID3DBlob* code, const char* what) {
    ComPtr<ID3D11VertexShader> shader;
    checkSetup(device()->CreateVertexShader(code->GetBufferPointer(), code->GetBufferSize(),
                                            nullptr, &shader),
               "arf", what);
    setDebugName(shader.Get(), what);
    return shader;
}
