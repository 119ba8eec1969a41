#include "graphics/d3d11/renderer.h"

#include <cfloat>
#include <cstdio>
#include <string>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/shader-compiler.h"

namespace {

ComPtr<ID3D11Buffer> createConstantBuffer(ID3D11Device* device, UINT bytes, const char* text,
                                          const char* what) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = bytes;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    ComPtr<ID3D11Buffer> buffer;
    checkSetup(device->CreateBuffer(&desc, nullptr, &buffer), text, what);
    return buffer;
}

} // namespace

vm::Mat4 Renderer::perspective(float fovAngleY, float aspect) {
    return vm::perspectiveFovRH(fovAngleY, aspect, kNear, kFar);
}

std::unique_ptr<Renderer> Renderer::create(float fovAngleY, int width, int height, HWND window) {
    auto made = std::make_unique<Renderer>();
    Renderer* r = made.get();
    r->fovAngleY_ = fovAngleY;
    r->projection = perspective(fovAngleY, static_cast<float>(width) / static_cast<float>(height));
    r->resources_.create(width, height, window);

    r->transformBuffer_ =
        createConstantBuffer(r->device(), sizeof(TransformConstants), "arf", "transform buffer");
    r->colourBuffer_ =
        createConstantBuffer(r->device(), sizeof(ColourConstants), "arf", "colour buffer");
    r->patches_.tessellationBuffer = createConstantBuffer(
        r->device(), sizeof(TessellationConstants), "arf", "tessellation buffer");
    r->createPlanetMesh();
    r->createPatchPipeline();
    r->createStates();
    r->createLineShapes();
    r->createPlanetPipeline();
    r->bufferFactory_ = std::make_unique<DeviceBufferFactory>(r->device(), r->context());
    return made;
}

void Renderer::createStates() {
    D3D11_RASTERIZER_DESC raster = {};
    raster.FrontCounterClockwise = FALSE;
    raster.DepthClipEnable = TRUE;
    const D3D11_FILL_MODE fills[3] = {D3D11_FILL_SOLID, D3D11_FILL_SOLID, D3D11_FILL_WIREFRAME};
    const D3D11_CULL_MODE culls[3] = {D3D11_CULL_NONE, D3D11_CULL_BACK, D3D11_CULL_NONE};
    for (int i = 0; i < 3; ++i) {
        raster.FillMode = fills[i];
        raster.CullMode = culls[i];
        device()->CreateRasterizerState(&raster, &rasterizerStates_[i]);
    }
    context()->RSSetState(rasterizerStates_[1].Get());

    D3D11_SAMPLER_DESC sampler = {};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.ComparisonFunc = D3D11_COMPARISON_LESS;
    sampler.MaxLOD = FLT_MAX;
    checkSetup(device()->CreateSamplerState(&sampler, &sampler_), "error", "sampler");
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
}

void Renderer::createSecondaryView(HWND window, int width, int height, int slot) {
    resources_.createSecondaryView(window, width, height, slot);
}

void Renderer::releaseSecondaryView(int slot) {
    resources_.releaseSecondaryView(slot);
}

void Renderer::resizeView(int width, int height, int view) {
    if (resources_.resizeView(width, height, view))
        projection =
            perspective(fovAngleY_, static_cast<float>(width) / static_cast<float>(height));
}

void Renderer::clearView(int view) {
    resources_.clearView(view, quadLayout);
}

void Renderer::present(int view) {
    resources_.present(view);
}

void Renderer::checkPresent(HRESULT hr) {
    resources_.checkPresent(hr);
}

void Renderer::releaseDevice() {
    if (!device()) return;
    context()->ClearState();
    context()->Flush();
    // The pipelines first, then what they share, then the device itself.
    lines_ = {};
    planet_ = {};
    patches_ = {};
    positionLayout_.Reset();
    transformBuffer_.Reset();
    colourBuffer_.Reset();
    for (auto& state : rasterizerStates_)
        state.Reset();
    alphaBlend_.Reset();
    sampler_.Reset();
    bufferFactory_.reset();
    resources_.release();
}

void Renderer::setWorld(const vm::Mat4& m) {
    world = m;
    TransformConstants constants{vm::transpose(world), vm::transpose(viewProjection)};
    context()->UpdateSubresource(transformBuffer_.Get(), 0, nullptr, &constants, 0, 0);
}

std::string Renderer::shaderTarget(const char* stage) const {
    // Shader model 5 from level 11_0 on, as the program asks for; older devices get the
    // highest model they run.
    const char* model = featureLevel() >= D3D_FEATURE_LEVEL_11_0   ? "_5_0"
                        : featureLevel() >= D3D_FEATURE_LEVEL_10_1 ? "_4_1"
                        : featureLevel() >= D3D_FEATURE_LEVEL_10_0 ? "_4_0"
                        : featureLevel() >= D3D_FEATURE_LEVEL_9_3  ? "_4_0_level_9_3"
                                                                   : "_4_0_level_9_1";
    return std::string(stage) + model;
}

ComPtr<ID3DBlob> Renderer::compileOrDie(const wchar_t* path, const char* entry, const char* stage,
                                        const char* text) {
    ComPtr<ID3DBlob> code;
    checkSetup(compileShaderFile(path, entry, shaderTarget(stage).c_str(), code), text,
               "shader compilation");
    return code;
}

ComPtr<ID3D11PixelShader> Renderer::compilePixelShader(const wchar_t* path) {
    ComPtr<ID3DBlob> code = compileOrDie(path, "PS", "ps", "arf");
    ComPtr<ID3D11PixelShader> shader;
    checkSetup(device()->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                           &shader),
               "arf", "pixel shader creation");
    return shader;
}
