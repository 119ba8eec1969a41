// The device, the main view's targets, clear, resize and the shader convention, on a real
// window under the platform's Direct3D 11.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "graphics/d3d11/renderer.h"
#include "graphics/d3d11/shader-compiler.h"
#include "ui/win32/settle-frame-on-window-change.h"
#include "win32-test-support.h"

namespace {

HWND makeViewWindow(int width, int height) {
    return CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

uint32_t readBackPixel(Renderer& r) {
    return readBackBuffer(r).at(0, 0);
}

class RendererTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setFatalErrorHandler(throwOnFatalError);
        window = makeViewWindow(320, 240);
        ASSERT_NE(nullptr, window);
        owned = Renderer::create(0.7853982f, 320, 240, window);
        r = owned.get();
    }
    void TearDown() override {
        if (r) r->releaseDevice();
        DestroyWindow(window);
    }
    HWND window = nullptr;
    std::unique_ptr<Renderer> owned;
    Renderer* r = nullptr;
};

} // namespace

BackBuffer readBackBuffer(Renderer& r, int view) {
    BackBuffer result;
    ComPtr<ID3D11Texture2D> back;
    EXPECT_HRESULT_SUCCEEDED(r.swapChain(view)->GetBuffer(0, __uuidof(ID3D11Texture2D), &back));
    D3D11_TEXTURE2D_DESC desc;
    back->GetDesc(&desc);
    desc.Usage = D3D11_USAGE_STAGING;
    desc.BindFlags = 0;
    desc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ComPtr<ID3D11Texture2D> staging;
    EXPECT_HRESULT_SUCCEEDED(r.device()->CreateTexture2D(&desc, nullptr, &staging));
    r.context()->CopyResource(staging.Get(), back.Get());
    D3D11_MAPPED_SUBRESOURCE mapped;
    EXPECT_HRESULT_SUCCEEDED(r.context()->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped));
    result.width = static_cast<int>(desc.Width);
    result.height = static_cast<int>(desc.Height);
    result.pixels.resize(static_cast<size_t>(result.width) * result.height);
    for (int y = 0; y < result.height; ++y)
        std::memcpy(&result.pixels[static_cast<size_t>(y) * result.width],
                    static_cast<const char*>(mapped.pData) +
                        static_cast<size_t>(y) * mapped.RowPitch,
                    static_cast<size_t>(result.width) * 4);
    r.context()->Unmap(staging.Get(), 0);
    return result;
}

TEST_F(RendererTest, DeviceComesUpAtFeatureLevelElevenOrBetter) {
    EXPECT_GE(r->featureLevel(), D3D_FEATURE_LEVEL_11_0);
    DXGI_SWAP_CHAIN_DESC desc;
    ASSERT_HRESULT_SUCCEEDED(r->swapChain(0)->GetDesc(&desc));
    EXPECT_EQ(320u, desc.BufferDesc.Width);
    EXPECT_EQ(240u, desc.BufferDesc.Height);
    EXPECT_EQ(DXGI_FORMAT_R8G8B8A8_UNORM, desc.BufferDesc.Format);
    EXPECT_EQ(2u, desc.BufferCount);
}

TEST_F(RendererTest, ClearGivesOpaqueBlack) {
    // Paint something else first so the clear is what makes it black.
    ComPtr<ID3D11RenderTargetView> rtv;
    r->context()->OMGetRenderTargets(1, &rtv, nullptr);
    ASSERT_NE(nullptr, rtv);
    const float red[4] = {1, 0, 0, 1};
    r->context()->ClearRenderTargetView(rtv.Get(), red);
    EXPECT_EQ(0xFF0000FFu, readBackPixel(*r)); // R8G8B8A8: red in the low byte
    r->beginView(0, {});
    EXPECT_EQ(0xFF000000u, readBackPixel(*r));
    r->present(0);
}

TEST_F(RendererTest, ResizeFollowsWithProjectionAndViewport) {
    const float h = 1.0f / std::tan(0.7853982f / 2);
    EXPECT_NEAR(h, r->projection()[1][1], 1e-5f);
    EXPECT_NEAR(h * 240 / 320, r->projection()[0][0], 1e-5f);
    EXPECT_EQ(-1.0f, r->projection()[2][3]);
    EXPECT_NEAR(Renderer::kFar / (Renderer::kNear - Renderer::kFar), r->projection()[2][2], 1e-6f);

    r->resizeView(640, 480, 0);
    EXPECT_NEAR(h * 3 / 4, r->projection()[0][0], 1e-5f);
    D3D11_VIEWPORT viewport;
    UINT count = 1;
    r->context()->RSGetViewports(&count, &viewport);
    EXPECT_EQ(640.0f, viewport.Width);
    EXPECT_EQ(480.0f, viewport.Height);
    DXGI_SWAP_CHAIN_DESC desc;
    r->swapChain(0)->GetDesc(&desc);
    EXPECT_EQ(640u, desc.BufferDesc.Width);

    r->resizeView(1200, 800, 0);
    EXPECT_NEAR(h * 800 / 1200, r->projection()[0][0], 1e-5f);
    r->resizeView(0, 0, 0); // a collapsed view keeps what it had
    r->swapChain(0)->GetDesc(&desc);
    EXPECT_EQ(1200u, desc.BufferDesc.Width);
    r->beginView(0, {});
    EXPECT_EQ(0xFF000000u, readBackPixel(*r));
}

TEST_F(RendererTest, SecondaryViewsHaveTheirOwnSwapChains) {
    HWND child = makeViewWindow(160, 120);
    r->createSecondaryView(child, 160, 120, 1);
    ASSERT_NE(nullptr, r->swapChain(2));
    EXPECT_NE(r->swapChain(0), r->swapChain(2));
    r->beginView(2, {});
    r->present(2);
    r->releaseSecondaryView(1);
    EXPECT_EQ(nullptr, r->swapChain(2));
    DestroyWindow(child);
}

TEST_F(RendererTest, ShaderConventionReportsMissingAndBrokenFiles) {
    ComPtr<ID3DBlob> code;
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
              compileShaderFile(L"graphics\\nuanceurs\\absent.shader", "PS", "ps_5_0", code));

    CreateDirectoryA("scratch", nullptr);
    writeTextFile(L"scratch\\colour \u00e9.shader",
                  "cbuffer C : register(b1) { float4 colour; };\n"
                  "float4 PS(float4 p : SV_POSITION) : SV_TARGET { return colour; }\n");
    EXPECT_HRESULT_SUCCEEDED(
        compileShaderFile(L"scratch\\colour \u00e9.shader", "PS", "ps_5_0", code));
    EXPECT_NE(nullptr, r->compilePixelShader(L"scratch\\colour \u00e9.shader"));

    writeTextFile(L"scratch\\broken.shader", "float4 PS( : SV_TARGET { return 1; }\n");
    try {
        r->compilePixelShader(L"scratch\\broken.shader");
        FAIL() << "a broken shader must end set-up";
    } catch (const FatalErrorThrown& e) {
        EXPECT_STREQ("arf", e.what());
    }
}

TEST_F(RendererTest, ModelBuffersHoldThePoolAndIndices) {
    const vm::Float3 points[2] = {{1, 2, 3}, {4, 5, 6}};
    GpuBufferPtr vertices = r->bufferFactory()->createVertexBuffer(points, 2);
    const int32_t indices[3] = {7, 8, 9};
    GpuBufferPtr index = r->bufferFactory()->createIndexBuffer(indices, 3);
    D3D11_BUFFER_DESC desc;
    DeviceBufferFactory::bufferOf(vertices.get())->GetDesc(&desc);
    EXPECT_EQ(24u, desc.ByteWidth);
    EXPECT_EQ(static_cast<UINT>(D3D11_BIND_VERTEX_BUFFER), desc.BindFlags);
    DeviceBufferFactory::bufferOf(index.get())->GetDesc(&desc);
    EXPECT_EQ(12u, desc.ByteWidth);
    EXPECT_EQ(static_cast<UINT>(D3D11_BIND_INDEX_BUFFER), desc.BindFlags);

    // Read the vertex buffer back after a whole rewrite.
    const vm::Float3 moved[2] = {{-1, -2, -3}, {4, 5, 6}};
    r->bufferFactory()->updateVertexBuffer(*vertices, moved, 2);
    D3D11_BUFFER_DESC stagingDesc = {};
    stagingDesc.ByteWidth = 24;
    stagingDesc.Usage = D3D11_USAGE_STAGING;
    stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ComPtr<ID3D11Buffer> staging;
    ASSERT_HRESULT_SUCCEEDED(r->device()->CreateBuffer(&stagingDesc, nullptr, &staging));
    r->context()->CopyResource(staging.Get(), DeviceBufferFactory::bufferOf(vertices.get()));
    D3D11_MAPPED_SUBRESOURCE mapped;
    ASSERT_HRESULT_SUCCEEDED(r->context()->Map(staging.Get(), 0, D3D11_MAP_READ, 0, &mapped));
    const float* f = static_cast<const float*>(mapped.pData);
    EXPECT_EQ(-1.0f, f[0]);
    EXPECT_EQ(-3.0f, f[2]);
    EXPECT_EQ(6.0f, f[5]);
    r->context()->Unmap(staging.Get(), 0);
}

TEST(RendererSetUp, AMissingShaderFileEndsSetUp) {
    setFatalErrorHandler(throwOnFatalError);
    CreateDirectoryA("no-shaders", nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA("no-shaders"));
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    try {
        Renderer::create(0.7853982f, 64, 64, window)->releaseDevice();
        FAIL() << "set-up went on without its shaders";
    } catch (const FatalErrorThrown& e) {
        EXPECT_STREQ("arf", e.what());
    }
    DestroyWindow(window);
    SetCurrentDirectoryA("..");
}

TEST(RendererSetUp, APatchShaderWithoutHullAndDomainStagesLeadsToTheCpuPath) {
    // Vertex and pixel stages that this platform's compiler builds, no hull or domain entry:
    // the patches are evaluated on the CPU, set-up is not ended.
    setFatalErrorHandler(throwOnFatalError);
    CreateDirectoryW(L"vs-only", nullptr);
    CreateDirectoryW(L"vs-only\\graphics", nullptr);
    CreateDirectoryW(L"vs-only\\graphics\\nuanceurs", nullptr);
    for (const wchar_t* name :
         {L"debug.shader", L"texture.shader", L"planete.shader", L"VTH (ev).nuance"})
        ASSERT_TRUE(CopyFileW((std::wstring(L"graphics\\nuanceurs\\") + name).c_str(),
                              (std::wstring(L"vs-only\\graphics\\nuanceurs\\") + name).c_str(),
                              FALSE));
    writeTextFile(L"vs-only\\graphics\\nuanceurs\\tess\u00e9lateur.hlsl",
                  "struct CP { float3 p : POSITION; };\n"
                  "CP BezierVS(CP i) { return i; }\n"
                  "float4 BezierPS(float4 p : SV_POSITION) : SV_TARGET { return p; }\n");
    ComPtr<ID3DBlob> code;
    ASSERT_HRESULT_SUCCEEDED(compileShaderFile(
        L"vs-only\\graphics\\nuanceurs\\tess\u00e9lateur.hlsl", "BezierVS", "vs_5_0", code));
    ASSERT_TRUE(SetCurrentDirectoryW(L"vs-only"));
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    try {
        const std::unique_ptr<Renderer> r = Renderer::create(0.7853982f, 64, 64, window);
        EXPECT_FALSE(r->tessellatesOnGpu());
        r->releaseDevice();
    } catch (const FatalErrorThrown& e) {
        ADD_FAILURE() << "set-up ended with \"" << e.what() << "\"";
    }
    DestroyWindow(window);
    SetCurrentDirectoryA("..");
}

// Under Wine a window shown or sized while the device presents could hang the X connection
// (docs/platform.md): the device's frame is waited for first, but not for a z-order change.
TEST(SettleFrame, WaitsBeforeAWindowIsShownMovedOrSizedNotForItsZOrder) {
    static int waits = 0;
    settleFrameOnWindowChange([] { ++waits; });
    HWND tip = CreateWindowExA(WS_EX_TOOLWINDOW, "Static", "", WS_POPUP, 0, 0, 50, 20, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, tip);
    int before = waits;
    ShowWindow(tip, SW_SHOWNOACTIVATE);
    EXPECT_GT(waits, before);
    before = waits;
    SetWindowPos(tip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(before, waits);
    SetWindowPos(tip, nullptr, 10, 10, 60, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GT(waits, before);
    DestroyWindow(tip);
}
