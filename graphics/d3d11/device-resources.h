// The Direct3D 11 device and what belongs to it rather than to any drawing: the immediate
// context, the DXGI factory, the main view's swap chain and the quad layout's three others,
// each view's render target and depth buffer, resizing, presenting and a lost device. The
// pipelines that draw with it live in the renderer.
#pragma once

#include <d3d11.h>
#include <dxgi1_2.h>
#include <wrl/client.h>

class DeviceResources {
  public:
    static constexpr int kSecondaryViews = 3;

    // The device (the highest feature level the runtime gives, 11_1 down to 9_1), the main
    // view's swap chain on window and its targets, bound. Every failure is fatal.
    void create(int width, int height, HWND window);
    // Swap chain and targets for the quad layout's view slot + 1 (slot 0..2).
    void createSecondaryView(HWND window, int width, int height, int slot);
    // Drops a secondary view's swap chain and targets (its window is going away).
    void releaseSecondaryView(int slot);
    // New buffers of width × height for a view; a collapsed view (no area) keeps its own.
    // Returns whether the targets were made anew.
    bool resizeView(int width, int height, int view);
    // Black and far; in the quad layout the view's targets are bound too.
    void clearView(int view, bool bindTargets);
    void present(int view);
    // Returns once the last present has reached the screen, or after longestMs: a device
    // that never answers does not hang the caller. Pacing waits as long as a slow frame of a
    // large model takes: a present that finds the last one still drawing waits for it by
    // spinning on a core (Wine's does), which a software rasteriser needs; a caller that needs
    // the device idle waits longer still.
    static constexpr unsigned kPacingWaitMs = 1000, kIdleWaitMs = 2000;
    void waitForLastFrame(unsigned longestMs = kPacingWaitMs);
    // What Present said: a removed or reset device is the fatal error "error".
    void checkPresent(HRESULT hr);
    // Lets go of the views' targets and swap chains, then the device.
    void release();

    ID3D11Device* device() const { return device_.Get(); }
    ID3D11DeviceContext* context() const { return context_.Get(); }
    D3D_FEATURE_LEVEL featureLevel() const { return featureLevel_; }
    // Swap chain of a view: 0 the main view, 1..3 the quad layout's others (null when absent).
    IDXGISwapChain* swapChain(int view) const;

  private:
    struct ViewTargets {
        Microsoft::WRL::ComPtr<IDXGISwapChain> swapChain;
        Microsoft::WRL::ComPtr<ID3D11RenderTargetView> renderTarget;
        Microsoft::WRL::ComPtr<ID3D11Texture2D> depthTexture;
        Microsoft::WRL::ComPtr<ID3D11DepthStencilView> depthStencil;
    };
    // A swap chain's render target and depth buffer, bound, with a viewport of its size.
    HRESULT createTargets(ViewTargets& view);
    ViewTargets& targets(int view) { return view == 0 ? main_ : secondary_[view - 1]; }
    const ViewTargets& targets(int view) const { return view == 0 ? main_ : secondary_[view - 1]; }

    Microsoft::WRL::ComPtr<ID3D11Device> device_;
    Microsoft::WRL::ComPtr<ID3D11DeviceContext> context_;
    Microsoft::WRL::ComPtr<IDXGIFactory2> factory_;
    // Set after each present: the next one waits for it, so the program keeps no more than
    // one frame queued and waits without spinning.
    Microsoft::WRL::ComPtr<ID3D11Query> frameDone_;
    bool frameIssued_ = false;
    D3D_FEATURE_LEVEL featureLevel_ = D3D_FEATURE_LEVEL_11_0;
    ViewTargets main_;
    ViewTargets secondary_[kSecondaryViews];
};
