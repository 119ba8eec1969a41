#include "graphics/d3d11/device-resources.h"

#include <cstdio>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/debug-name.h"

using Microsoft::WRL::ComPtr;

void DeviceResources::create(int width, int height, HWND window) {
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
                                             count, D3D11_SDK_VERSION, &desc, &main_.swapChain,
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

    ComPtr<IDXGIFactory1> factory1;
    checkSetup(CreateDXGIFactory1(__uuidof(IDXGIFactory1), &factory1), "error",
               "CreateDXGIFactory1");
    checkSetup(factory1.As(&factory_), "error", "IDXGIFactory2");
    checkSetup(createTargets(main_), "error", "main view targets");
}

HRESULT DeviceResources::createTargets(ViewTargets& view) {
    ComPtr<ID3D11Texture2D> backBuffer;
    HRESULT hr = view.swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D), &backBuffer);
    if (FAILED(hr)) return hr;
    hr = device_->CreateRenderTargetView(backBuffer.Get(), nullptr, &view.renderTarget);
    if (FAILED(hr)) return hr;
    setDebugName(view.renderTarget.Get(), "view render target");
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
    hr = device_->CreateTexture2D(&desc, nullptr, &view.depthTexture);
    if (FAILED(hr)) return hr;
    setDebugName(view.depthTexture.Get(), "view depth buffer");

    D3D11_DEPTH_STENCIL_VIEW_DESC depthView = {};
    depthView.Format = desc.Format;
    depthView.ViewDimension = D3D11_DSV_DIMENSION_TEXTURE2D;
    hr = device_->CreateDepthStencilView(view.depthTexture.Get(), &depthView, &view.depthStencil);
    if (FAILED(hr)) return hr;
    setDebugName(view.depthStencil.Get(), "view depth stencil view");

    context_->OMSetRenderTargets(1, view.renderTarget.GetAddressOf(), view.depthStencil.Get());
    D3D11_VIEWPORT viewport = {
        0, 0, static_cast<float>(back.Width), static_cast<float>(back.Height), 0, 1};
    context_->RSSetViewports(1, &viewport);
    return S_OK;
}

void DeviceResources::createSecondaryView(HWND window, int width, int height, int slot) {
    releaseSecondaryView(slot);
    ViewTargets& t = secondary_[slot];
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
    ComPtr<IDXGISwapChain1> chain;
    checkSetup(
        factory_->CreateSwapChainForHwnd(device_.Get(), window, &desc, nullptr, nullptr, &chain),
        "error", "secondary swap chain");
    t.swapChain = chain;
    checkSetup(createTargets(t), "error", "secondary view targets");
}

void DeviceResources::releaseSecondaryView(int slot) {
    ViewTargets& t = secondary_[slot];
    if (!t.swapChain) return;
    context_->OMSetRenderTargets(0, nullptr, nullptr);
    t = ViewTargets{};
    context_->Flush();
}

IDXGISwapChain* DeviceResources::swapChain(int view) const {
    return targets(view).swapChain.Get();
}

bool DeviceResources::resizeView(int width, int height, int view) {
    if (width <= 0 || height <= 0) return false; // a minimised or collapsed view keeps its own
    ViewTargets& t = targets(view);
    if (!t.swapChain) return false;
    t.renderTarget.Reset();
    t.depthStencil.Reset();
    t.depthTexture.Reset();
    context_->OMSetRenderTargets(0, nullptr, nullptr);
    context_->Flush();
    checkSetup(t.swapChain->ResizeBuffers(0, static_cast<UINT>(width), static_cast<UINT>(height),
                                          DXGI_FORMAT_UNKNOWN, 0),
               "error", "ResizeBuffers");
    checkSetup(createTargets(t), "error", "view targets after resize");
    return true;
}

void DeviceResources::clearView(int view, bool bindTargets) {
    const ViewTargets& t = targets(view);
    if (!t.renderTarget) return;
    const float black[4] = {0, 0, 0, 1};
    context_->ClearRenderTargetView(t.renderTarget.Get(), black);
    context_->ClearDepthStencilView(t.depthStencil.Get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
    if (bindTargets)
        context_->OMSetRenderTargets(1, t.renderTarget.GetAddressOf(), t.depthStencil.Get());
}

void DeviceResources::waitForLastFrame(unsigned longestMs) {
    if (!frameDone_) {
        D3D11_QUERY_DESC desc = {D3D11_QUERY_EVENT, 0};
        if (FAILED(device_->CreateQuery(&desc, &frameDone_))) return; // pacing is a nicety
        frameIssued_ = false;
    }
    if (!frameIssued_) return;
    // Sleeping, not spinning: on a machine with few cores the driver's own wait for a
    // present spins on a core the software rasteriser needs. Bounded in time, not in polls
    // (a loaded machine sleeps far longer than asked): a hidden window, a lost device or a
    // driver that never answers must not keep the window from its messages.
    const ULONGLONG deadline = GetTickCount64() + longestMs;
    BOOL done = FALSE;
    HRESULT state = S_FALSE;
    while ((state = context_->GetData(frameDone_.Get(), &done, sizeof done, 0)) == S_FALSE &&
           GetTickCount64() < deadline)
        Sleep(1);
    frameIssued_ = state == S_FALSE; // a frame still drawing is waited for by the next wait
}

void DeviceResources::present(int view) {
    IDXGISwapChain* chain = swapChain(view);
    if (!chain) return;
    // At most one frame ahead of the device.
    waitForLastFrame();
    checkPresent(chain->Present(1, 0));
    if (frameDone_) {
        context_->End(frameDone_.Get());
        frameIssued_ = true;
    }
}

void DeviceResources::checkPresent(HRESULT hr) {
    // A lost device ends the program; the fatal error keeps the recovery copy first.
    if (hr == DXGI_ERROR_DEVICE_REMOVED || hr == DXGI_ERROR_DEVICE_RESET)
        fatalError("error", "the Direct3D device was lost",
                   device_ ? device_->GetDeviceRemovedReason() : hr);
}

void DeviceResources::release() {
    if (context_) {
        context_->ClearState();
        context_->Flush();
    }
    frameDone_.Reset();
    frameIssued_ = false;
    for (ViewTargets& t : secondary_)
        t = ViewTargets{};
    main_ = ViewTargets{};
    factory_.Reset();
    context_.Reset();
    device_.Reset();
}
