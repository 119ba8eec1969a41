// The planet: a lit, textured sphere shown as a camera-facing quad (or as a mesh of 160 × 260
// cells), and the textured triangles of the head-up display's panel, through
// "planete.shader" and "texture.shader".
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include "core/vector-math.h"
#include "graphics/d3d11/render-state.h"

class PlanetPipeline {
  public:
    // Its shaders, layout, buffers and depth state; a failure is fatal.
    void create(RenderState& state);
    void release() { *this = PlanetPipeline{}; }

    // The camera-facing quad that shows the planet as a lit, textured sphere.
    void drawImpostor(ID3D11ShaderResourceView* texture, const vm::Mat4& view);
    // The planet as a textured mesh.
    void drawMesh(ID3D11ShaderResourceView* texture);
    // Triangles of planet vertices (position, texture coordinates) with a pixel shader and
    // texture of the caller's, blended.
    void drawTexturedTriangles(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                               ID3D11ShaderResourceView* texture);

    // The same behind everything drawn after it: neither tested against the depth buffer
    // nor written to it (a reference picture under the model), made opacity opaque.
    void drawBehind(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                    ID3D11ShaderResourceView* texture, float opacity);

  private:
    // The vertex shader and layout over planet vertices, with a pixel shader, its texture at
    // t0, the colour at b1 and the sampler.
    void bindTexturedVertices(ID3D11Buffer* vertices, D3D11_PRIMITIVE_TOPOLOGY topology,
                              ID3D11PixelShader* shader, ID3D11ShaderResourceView* texture);

    RenderState* state_ = nullptr;
    Microsoft::WRL::ComPtr<ID3D11Buffer> mesh_, impostorQuad_, constants_;
    Microsoft::WRL::ComPtr<ID3D11VertexShader> vertexShader_;
    Microsoft::WRL::ComPtr<ID3D11PixelShader> pixelShader_, texturePixelShader_;
    Microsoft::WRL::ComPtr<ID3D11InputLayout> layout_;
    Microsoft::WRL::ComPtr<ID3D11DepthStencilState> depth_; // LESS_EQUAL: the planet lies at 1
    Microsoft::WRL::ComPtr<ID3D11DepthStencilState> noDepth_;
};
