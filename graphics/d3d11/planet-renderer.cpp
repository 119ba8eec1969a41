// The planet's pipeline and draws, and the textures they sample.
#include <cstdio>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/d3d11/shader-compiler.h"
#include "graphics/planet-geometry.h"

namespace {

const wchar_t* const kPlanetShader = L"graphics\\nuanceurs\\planete.shader";
const wchar_t* const kTextureShader = L"graphics\\nuanceurs\\texture.shader";
constexpr UINT kStride = sizeof(planet::Vertex);

} // namespace

LoadedTexture Renderer::createTexture(UINT width, UINT height, const void* pixels, bool dynamic,
                                      DXGI_FORMAT format) {
    D3D11_TEXTURE2D_DESC desc = {};
    desc.Width = width;
    desc.Height = height;
    desc.MipLevels = 1;
    desc.ArraySize = 1;
    desc.Format = format;
    desc.SampleDesc = {1, 0};
    desc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
    desc.CPUAccessFlags = dynamic ? D3D11_CPU_ACCESS_WRITE : 0;
    D3D11_SUBRESOURCE_DATA init = {pixels, width * 4, 0};
    LoadedTexture result;
    char what[96];
    std::snprintf(what, sizeof what, "texture of %u x %u", width, height);
    checkSetup(device()->CreateTexture2D(&desc, pixels ? &init : nullptr, &result.texture), "error",
               what);
    D3D11_SHADER_RESOURCE_VIEW_DESC view = {};
    view.Format = format;
    view.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
    view.Texture2D.MostDetailedMip = 0;
    view.Texture2D.MipLevels = 1;
    const HRESULT hr =
        device()->CreateShaderResourceView(result.texture.Get(), &view, &result.view);
    if (FAILED(hr)) {
        result.texture.Reset();
        fatalError("error", "shader-resource view of a texture", hr);
    }
    return result;
}

void Renderer::createPlanetMesh() {
    const std::vector<planet::Vertex> mesh = planet::sphereMesh();
    planet_.mesh =
        createStaticVertexBuffer(device(), mesh.data(), static_cast<UINT>(mesh.size() * kStride),
                                 "arf", "planet sphere buffer");
}

void Renderer::createPlanetPipeline() {
    // Shader model 4 as written; the oldest devices get their own level of it.
    const bool sm4 = featureLevel() >= D3D_FEATURE_LEVEL_10_0;
    ComPtr<ID3DBlob> vs, ps;
    checkSetup(
        compileShaderFile(kPlanetShader, "VS", sm4 ? "vs_4_0" : shaderTarget("vs").c_str(), vs),
        "error", "planet vertex shader");
    checkSetup(
        compileShaderFile(kPlanetShader, "PS", sm4 ? "ps_4_0" : shaderTarget("ps").c_str(), ps),
        "error", "planet pixel shader");
    checkSetup(device()->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(), nullptr,
                                            &planet_.vertexShader),
               "error", "planet vertex shader creation");
    checkSetup(device()->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr,
                                           &planet_.pixelShader),
               "error", "planet pixel shader creation");
    planet_.impostorQuad =
        createStaticVertexBuffer(device(), planet::kImpostorQuad.data(),
                                 sizeof planet::kImpostorQuad, "error", "impostor quad");
    const D3D11_INPUT_ELEMENT_DESC layout[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT,
         D3D11_INPUT_PER_VERTEX_DATA, 0},
    };
    device()->CreateInputLayout(layout, 2, vs->GetBufferPointer(), vs->GetBufferSize(),
                                &planet_.layout);

    D3D11_BUFFER_DESC constants = {};
    constants.ByteWidth = sizeof(planet::Constants);
    constants.Usage = D3D11_USAGE_DEFAULT;
    constants.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    checkSetup(device()->CreateBuffer(&constants, nullptr, &planet_.constants), "error",
               "planet constant buffer");
    planet_.texturePixelShader = compilePixelShader(kTextureShader);

    // 18 000 000 units away with the near plane at 1, the planet's depth rounds to the
    // cleared 1.0 in a 24-bit buffer: it must pass where the default LESS would drop it.
    D3D11_DEPTH_STENCIL_DESC depth = {};
    depth.DepthEnable = TRUE;
    depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ALL;
    depth.DepthFunc = D3D11_COMPARISON_LESS_EQUAL;
    checkSetup(device()->CreateDepthStencilState(&depth, &planet_.depth), "error",
               "planet depth state");
}

void Renderer::drawPlanet(ID3D11ShaderResourceView* texture, const vm::Mat4& view) {
    const planet::Impostor impostor = planet::impostor(view);
    setWorld(impostor.world);
    context()->UpdateSubresource(planet_.constants.Get(), 0, nullptr, &impostor.constants, 0, 0);
    bindTexturedVertices(planet_.impostorQuad.Get(), D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP,
                         planet_.pixelShader.Get(), texture);
    context()->PSSetConstantBuffers(0, 1, planet_.constants.GetAddressOf());
    // No culling: which face of the quad looks at the viewer depends on the view's turn.
    context()->RSSetState(rasterizerStates_[0].Get());
    context()->OMSetBlendState(nullptr, nullptr, 0xFFFFFFFF);
    context()->OMSetDepthStencilState(planet_.depth.Get(), 0);
    context()->Draw(4, 0);
    context()->OMSetDepthStencilState(nullptr, 0);
}

void Renderer::drawPlanetMesh(ID3D11ShaderResourceView* texture) {
    setWorld(vm::scaling(planet::kRadius, planet::kRadius, planet::kRadius) *
             vm::translation(planet::kCentre));
    bindTexturedVertices(planet_.mesh.Get(), D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST,
                         planet_.texturePixelShader.Get(), texture);
    context()->RSSetState(rasterizerStates_[1].Get());
    context()->OMSetBlendState(nullptr, nullptr, 0xFFFFFFFF);
    context()->OMSetDepthStencilState(planet_.depth.Get(), 0);
    context()->Draw(static_cast<UINT>(planet::kMeshVertices), 0);
    context()->OMSetDepthStencilState(nullptr, 0);
}

void Renderer::bindTexturedVertices(ID3D11Buffer* vertices, D3D11_PRIMITIVE_TOPOLOGY topology,
                                    ID3D11PixelShader* shader, ID3D11ShaderResourceView* texture) {
    const UINT offset = 0;
    context()->IASetInputLayout(planet_.layout.Get());
    context()->IASetVertexBuffers(0, 1, &vertices, &kStride, &offset);
    context()->IASetPrimitiveTopology(topology);
    context()->VSSetShader(planet_.vertexShader.Get(), nullptr, 0);
    context()->VSSetConstantBuffers(0, 1, transformBuffer_.GetAddressOf());
    context()->HSSetShader(nullptr, nullptr, 0);
    context()->DSSetShader(nullptr, nullptr, 0);
    context()->PSSetShader(shader, nullptr, 0);
    context()->PSSetShaderResources(0, 1, &texture);
    context()->PSSetConstantBuffers(1, 1, colourBuffer_.GetAddressOf());
    context()->PSSetSamplers(0, 1, sampler_.GetAddressOf());
}

void Renderer::drawTexturedTriangles(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                                     ID3D11ShaderResourceView* texture) {
    bindTexturedVertices(vertices, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST, shader, texture);
    context()->RSSetState(rasterizerStates_[0].Get());
    context()->OMSetBlendState(alphaBlend_.Get(), nullptr, 0xFFFFFFFF);
    context()->Draw(count, 0);
    context()->OMSetBlendState(nullptr, nullptr, 0xFFFFFFFF);
}
