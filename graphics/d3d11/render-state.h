// What the pipelines share on one device: the frame's transforms and their constant buffer,
// the colour constant, the rasterizer, blend and sampler states, the plain colour shaders
// with their layout of float3 positions (lines, and the CPU path's triangles), and shader
// compilation at the device's level.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include <string>

#include "core/vector-math.h"
#include "graphics/d3d11/device-resources.h"
#include "graphics/frame-counts.h"

class RenderState {
  public:
    enum Rasterizer { Solid = 0, SolidCullBack = 1, Wireframe = 2 };

    // The frame's transforms: the world of what is drawn next and the camera's
    // view-projection.
    vm::Mat4 world = vm::identity();
    vm::Mat4 viewProjection = vm::identity();
    // What the draws so far asked of the device (cleared by whoever reads it).
    FrameCounts counts;

    // Everything above on the device; a failure is fatal.
    void create(const DeviceResources& resources);
    void release();

    ID3D11Device* device() const { return resources_->device(); }
    ID3D11DeviceContext* context() const { return resources_->context(); }
    D3D_FEATURE_LEVEL featureLevel() const { return resources_->featureLevel(); }

    // Sets world and uploads both transforms.
    void setWorld(const vm::Mat4& m);
    // Binds the colour buffer to pixel b1 and uploads the colour.
    void setColour(vm::Vec4 colour);
    void setRasterizer(Rasterizer state);
    // Alpha blending of the next draws on or off.
    void setBlending(bool on);

    ID3D11Buffer* const* transformBuffer() const { return transformBuffer_.GetAddressOf(); }
    ID3D11Buffer* const* colourBuffer() const { return colourBuffer_.GetAddressOf(); }
    ID3D11SamplerState* const* sampler() const { return sampler_.GetAddressOf(); }
    ID3D11InputLayout* positionLayout() const { return positionLayout_.Get(); }
    // Binds the plain colour shaders (no hull or domain stage) and the transforms.
    void bindPlainShaders();
    ID3D11PixelShader* plainPixelShader() const { return plainPixelShader_.Get(); }

    // Shader target of a stage ("vs", "ps", …) for the device's feature level.
    std::string shaderTarget(const char* stage) const;
    // A failure to compile is the fatal error text.
    Microsoft::WRL::ComPtr<ID3DBlob> compileOrDie(const wchar_t* path, const char* entry,
                                                  const char* stage, const char* text);
    // Entry "PS"; a failure is the fatal error "arf".
    Microsoft::WRL::ComPtr<ID3D11PixelShader> compilePixelShader(const wchar_t* path);
    Microsoft::WRL::ComPtr<ID3D11VertexShader> createVertexShader(ID3DBlob* code, const char* what);

  private:
    const DeviceResources* resources_ = nullptr;
    Microsoft::WRL::ComPtr<ID3D11Buffer> transformBuffer_, colourBuffer_;
    Microsoft::WRL::ComPtr<ID3D11RasterizerState> rasterizerStates_[3];
    Microsoft::WRL::ComPtr<ID3D11BlendState> alphaBlend_;
    Microsoft::WRL::ComPtr<ID3D11SamplerState> sampler_;
    Microsoft::WRL::ComPtr<ID3D11VertexShader> plainVertexShader_;
    Microsoft::WRL::ComPtr<ID3D11PixelShader> plainPixelShader_;
    Microsoft::WRL::ComPtr<ID3D11InputLayout> positionLayout_;
};

// A constant buffer of bytes; a failure is the fatal error text.
Microsoft::WRL::ComPtr<ID3D11Buffer> createConstantBuffer(ID3D11Device* device, UINT bytes,
                                                          const char* text, const char* what);
