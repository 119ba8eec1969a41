#include "graphics/d3d11/renderer.h"

#include <cfloat>
#include <cstdio>
#include <string>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/shader-compiler.h"

std::unique_ptr<Renderer> renderer;

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

Renderer* Renderer::create(float fovAngleY, int width, int height, HWND window) {
    renderer = std::make_unique<Renderer>();
    Renderer* r = renderer.get();
    r->fovAngleY_ = fovAngleY;
    r->projection = perspective(fovAngleY, static_cast<float>(width) / static_cast<float>(height));
    r->createDevice(width, height, window);

    ComPtr<IDXGIFactory1> factory1;
    checkSetup(CreateDXGIFactory1(__uuidof(IDXGIFactory1), &factory1), "error",
               "CreateDXGIFactory1");
    checkSetup(factory1.As(&r->factory_), "error", "IDXGIFactory2");

    r->transformBuffer_ = createConstantBuffer(r->device_.Get(), sizeof(TransformConstants), "arf",
                                               "transform buffer");
    r->colourBuffer_ =
        createConstantBuffer(r->device_.Get(), sizeof(ColourConstants), "arf", "colour buffer");
    r->patches_.tessellationBuffer = createConstantBuffer(
        r->device_.Get(), sizeof(TessellationConstants), "arf", "tessellation buffer");
    r->createPlanetMesh();
    r->createPatchPipeline();
    r->createStates();
    r->createLineShapes();
    r->createPlanetPipeline();
    r->bufferFactory_ = std::make_unique<DeviceBufferFactory>(r->device_.Get(), r->context_.Get());
    return r;
}

void Renderer::createDevice(int width, int height, HWND window) {
    static const D3D_FEATURE_LEVEL kLevels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0,
                                                D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0,
                                                D3D_FEATURE_LEVEL_9_3,  D3D_FEATURE_LEVEL_9_2,
                                                D3D_FEATURE_LEVEL_9_1};
    DXGI_SWAP_CHAIN_DESC desc = {};
    desc.BufferDesc.Width = static_cast<UINT>(width);
    desc.BufferDesc.Height = static_cast<UINT>(height);
    desc.BufferDesc.RefreshRate = {60, 1};
    desc.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.SampleDesc = {1, 0};
    desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    desc.BufferCount = 2;
    desc.OutputWindow = window;
    desc.Windowed = TRUE;
    desc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    desc.Flags = DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH;

    auto attempt = [&](const D3D_FEATURE_LEVEL* levels, UINT count) {
        return D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, levels,
                                             count, D3D11_SDK_VERSION, &desc, &mainSwapChain_,
                                             &device_, &featureLevel_, &context_);
    };
    HRESULT hr = attempt(kLevels, 7);
    // A runtime that does not know 11_1 rejects the whole list.
    if (hr == E_INVALIDARG) hr = attempt(kLevels + 1, 6);
    checkSetup(hr, "error", "D3D11CreateDeviceAndSwapChain");

    char line[96];
    std::snprintf(line, sizeof line, "Direct3D 11 device at feature level %d.%d\n",
                  (featureLevel_ >> 12) & 0xF, (featureLevel_ >> 8) & 0xF);
    OutputDebugStringA(line);

    checkSetup(createViewTargets(mainSwapChain_.Get(), mainRenderTarget_, mainDepthTexture_,
                                 mainDepthStencil_),
               "error", "main view targets");
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
        device_->CreateRasterizerState(&raster, &rasterizerStates_[i]);
    }
    context_->RSSetState(rasterizerStates_[1].Get());

    D3D11_SAMPLER_DESC sampler = {};
    sampler.Filter = D3D11_FILTER_MIN_MAG_MIP_POINT;
    sampler.AddressU = sampler.AddressV = sampler.AddressW = D3D11_TEXTURE_ADDRESS_WRAP;
    sampler.ComparisonFunc = D3D11_COMPARISON_LESS;
    sampler.MaxLOD = FLT_MAX;
    checkSetup(device_->CreateSamplerState(&sampler, &sampler_), "error", "sampler");
    context_->PSSetSamplers(0, 1, sampler_.GetAddressOf());

    D3D11_BLEND_DESC blend = {};
    blend.RenderTarget[0].BlendEnable = TRUE;
    blend.RenderTarget[0].SrcBlend = D3D11_BLEND_SRC_ALPHA;
    blend.RenderTarget[0].DestBlend = D3D11_BLEND_INV_SRC_ALPHA;
    blend.RenderTarget[0].BlendOp = D3D11_BLEND_OP_ADD;
    blend.RenderTarget[0].SrcBlendAlpha = D3D11_BLEND_ONE;
    blend.RenderTarget[0].DestBlendAlpha = D3D11_BLEND_ONE;
    blend.RenderTarget[0].BlendOpAlpha = D3D11_BLEND_OP_MAX;
    blend.RenderTarget[0].RenderTargetWriteMask = D3D11_COLOR_WRITE_ENABLE_ALL;
    checkSetup(device_->CreateBlendState(&blend, &alphaBlend_), "error", "alpha blend state");
}

HRESULT Renderer::createViewTargets(IDXGISwapChain* chain, ComPtr<ID3D11RenderTargetView>& rtv,
                                    ComPtr<ID3D11Texture2D>& depth,
                                    ComPtr<ID3D11DepthStencilView>& dsv) {
    ComPtr<ID3D11Texture2D> backBuffer;
    HRESULT hr = chain->GetBuffer(0, __uuidof(ID3D11Texture2D), &backBuffer);
    if (FAILED(hr)) return hr;
    hr = device_->CreateRenderTargetView(backBuffer.Get(), nullptr, &rtv);
    if (FAILED(hr)) return hr;
    D3D11_TEXTURE2D_DESC back;
    backBuffer->GetDesc(&back);

    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = back.Width;
    desc.Height = back.Height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = DXGI_FORMAT_D24_UNORM_S8_UINT;
    desc.SampleDesc = {1, 0};
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_DEPTH_STENCIL;
    hr = device_->CreateTexture2D(&desc, nullptr, &depth);
    if (FAILED(hr)) return hr;

    D3D11_DEPTH_STENCIL_VIEW_DESC view = {};
    view.Format = desc.Format;
    view.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
    hr = device_->CreateDepthStencilView(depth.Get(), &view, &dsv);
    if (FAILED(hr)) return hr;

    context_->OMSetRenderTargets(1, rtv.GetAddressOf(), dsv.Get());
    D3D11_VIEWPORT viewport = {
        0, 0, static_cast<float>(back.Width), static_cast<float>(back.Height), 0, 1};
    context_->RSSetViewports(1, &viewport);
    return S_OK;
}

void Renderer::createSecondaryView(HWND window, int width, int height, int slot) {
    ViewTargets& t = secondary_[slot];
    releaseSecondaryView(slot);
    DXGI_SWAP_CHAIN_DESC1 desc = {};
    desc.Width = static_cast<UINT>(width);
    desc.Height = static_cast<UINT>(height);
    desc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
    desc.SampleDesc = {1, 0};
    desc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
    desc.BufferCount = 2;
    desc.Scaling = DXGI_SCALING_STRETCH;
    desc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
    desc.AlphaMode = DXGI_ALPHA_MODE_UNSPECIFIED;
    checkSetup(factory_->CreateSwapChainForHwnd(device_.Get(), window, &desc, nullptr, nullptr,
                                                &t.swapChain),
               "error", "secondary swap chain");
    checkSetup(createViewTargets(t.swapChain.Get(), t.renderTarget, t.depthTexture, t.depthStencil),
               "error", "secondary view targets");
}

void Renderer::releaseSecondaryView(int slot) {
    ViewTargets& t = secondary_[slot];
    if (!t.swapChain) return;
    context_->OMSetRenderTargets(0, nullptr, nullptr);
    t = ViewTargets{};
    context_->Flush();
}

IDXGISwapChain* Renderer::swapChain(int view) const {
    if (view == 0) return mainSwapChain_.Get();
    return secondary_[view - 1].swapChain.Get();
}

ID3D11RenderTargetView* Renderer::renderTarget(int view) const {
    return view == 0 ? mainRenderTarget_.Get() : secondary_[view - 1].renderTarget.Get();
}

ID3D11DepthStencilView* Renderer::depthStencil(int view) const {
    return view == 0 ? mainDepthStencil_.Get() : secondary_[view - 1].depthStencil.Get();
}

void Renderer::resizeView(int width, int height, int view) {
    if (width <= 0 || height <= 0) return; // a minimised or collapsed view keeps its targets
    IDXGISwapChain* chain = swapChain(view);
    if (!chain) return;
    ComPtr<ID3D11RenderTargetView>& rtv =
        view == 0 ? mainRenderTarget_ : secondary_[view - 1].renderTarget;
    ComPtr<ID3D11Texture2D>& depth =
        view == 0 ? mainDepthTexture_ : secondary_[view - 1].depthTexture;
    ComPtr<ID3D11DepthStencilView>& dsv =
        view == 0 ? mainDepthStencil_ : secondary_[view - 1].depthStencil;
    rtv.Reset();
    dsv.Reset();
    depth.Reset();
    context_->OMSetRenderTargets(0, nullptr, nullptr);
    context_->Flush();
    checkSetup(chain->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height),
                                    DXGI_FORMAT_UNKNOWN, 0),
               "error", "ResizeBuffers");
    projection = perspective(fovAngleY_, static_cast<float>(width) / static_cast<float>(height));
    checkSetup(createViewTargets(chain, rtv, depth, dsv), "error", "view targets after resize");
}

void Renderer::clearView(int view) {
    ID3D11RenderTargetView* rtv = renderTarget(view);
    ID3D11DepthStencilView* dsv = depthStencil(view);
    if (!rtv) return;
    const float black[4] = {0, 0, 0, 1};
    context_->ClearRenderTargetView(rtv, black);
    context_->ClearDepthStencilView(dsv, D3D11_CLEAR_DEPTH, 1.0f, 0);
    if (quadLayout) context_->OMSetRenderTargets(1, &rtv, dsv);
}

void Renderer::present(int view) {
    IDXGISwapChain* chain = swapChain(view);
    if (!chain) return;
    checkPresent(chain->Present(1, 0));
}

void Renderer::checkPresent(HRESULT hr) {
    // A lost device ends the program; the fatal error keeps the recovery copy first.
    if (hr == DXGI_ERROR_DEVICE_REMOVED || hr == DXGI_ERROR_DEVICE_RESET)
        fatalError("error", "the Direct3D device was lost",
                   device_ ? device_->GetDeviceRemovedReason() : hr);
}

void Renderer::releaseDevice() {
    if (!device_) return;
    context_->ClearState();
    context_->Flush();
    // The pipelines first, then what they share, then the device itself.
    lines_ = {};
    planet_ = {};
    patches_ = {};
    positionLayout_.Reset();
    for (int k = 0; k < kSecondaryViews; ++k)
        secondary_[k] = ViewTargets{};
    mainRenderTarget_.Reset();
    mainDepthStencil_.Reset();
    mainDepthTexture_.Reset();
    mainSwapChain_.Reset();
    transformBuffer_.Reset();
    colourBuffer_.Reset();
    for (auto& state : rasterizerStates_)
        state.Reset();
    alphaBlend_.Reset();
    sampler_.Reset();
    factory_.Reset();
    bufferFactory_.reset();
    context_.Reset();
    device_.Reset();
}

void Renderer::setWorld(const vm::Mat4& m) {
    world = m;
    TransformConstants constants{vm::transpose(world), vm::transpose(viewProjection)};
    context_->UpdateSubresource(transformBuffer_.Get(), 0, nullptr, &constants, 0, 0);
}

std::string Renderer::shaderTarget(const char* stage) const {
    // Shader model 5 from level 11_0 on, as the program asks for; older devices get the
    // highest model they run.
    const char* model = featureLevel_ >= D3D_FEATURE_LEVEL_11_0   ? "_5_0"
                        : featureLevel_ >= D3D_FEATURE_LEVEL_10_1 ? "_4_1"
                        : featureLevel_ >= D3D_FEATURE_LEVEL_10_0 ? "_4_0"
                        : featureLevel_ >= D3D_FEATURE_LEVEL_9_3  ? "_4_0_level_9_3"
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
    checkSetup(device_->CreatePixelShader(code->GetBufferPointer(), code->GetBufferSize(), nullptr,
                                          &shader),
               "arf", "pixel shader creation");
    return shader;
}
