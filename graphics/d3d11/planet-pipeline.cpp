#include "graphics/d3d11/planet-pipeline.h"

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/debug-name.h"
#include "graphics/d3d11/device-buffers.h"
#include "graphics/d3d11/shader-compiler.h"
#include "graphics/planet-geometry.h"

using Microsoft::WRL::ComPtr;

namespace {

const wchar_t* const kPlanetShader = L"graphics\\nuanceurs\\planete.shader";
const wchar_t* const kTextureShader = L"graphics\\nuanceurs\\texture.shader";
constexpr UINT kStride = sizeof(planet::Vertex);

} // namespace

void PlanetPipeline::create(RenderState& state) {
    state_ = &state;
    ID3D11Device* device = state.device();
    const std::vector<planet::Vertex> mesh = planet::sphereMesh();
    mesh_ = createStaticVertexBuffer(device, mesh.data(), static_cast<UINT>(mesh.size() * kStride),
                                     "arf", "planet sphere buffer");
    setDebugName(mesh_.Get(), "planet sphere");

    // Shader model 4 as written; the oldest devices get their own level of it.
    const bool sm4 = state.featureLevel() >= D3D_FEATURE_LEVEL_10_0;
    ComPtr<ID3DBlob> vs, ps;
    checkSetup(compileShaderFile(kPlanetShader, "VS",
                                 sm4 ? "vs_4_0" : state.shaderTarget("vs").c_str(), vs),
               "error", "planet vertex shader");
    checkSetup(compileShaderFile(kPlanetShader, "PS",
                                 sm4 ? "ps_4_0" : state.shaderTarget("ps").c_str(), ps),
               "error", "planet pixel shader");
    checkSetup(device->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(), nullptr,
                                          &vertexShader_),
               "error", "planet vertex shader creation");
    checkSetup(device->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr,
                                         &pixelShader_),
               "error", "planet pixel shader creation");
    setDebugName(vertexShader_.Get(), "planet vertex shader");
    setDebugName(pixelShader_.Get(), "planet pixel shader");
    impostorQuad_ =
        createStaticVertexBuffer(device, planet::kImpostorQuad.data(), sizeof planet::kImpostorQuad,
                                 "error", "impostor quad");
    setDebugName(impostorQuad_.Get(), "planet impostor quad");
    const D3D11_INPUT_ELEMENT_DESC layout[] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT,
         D3D11_INPUT_PER_VERTEX_DATA, 0},
    };
    device->CreateInputLayout(layout, 2, vs->GetBufferPointer(), vs->GetBufferSize(), &layout_);
    setDebugName(layout_.Get(), "planet vertices");

    constants_ =
        createConstantBuffer(device, sizeof(planet::Constants), "error", "planet constant buffer");
    texturePixelShader_ = state.compilePixelShader(kTextureShader);
    setDebugName(texturePixelShader_.Get(), "texture pixel shader");

    // 18 000 000 units away with the near plane at 1, the planet's depth rounds to the
    // cleared 1.0 in a 24-bit buffer: it must pass where the default LESS would drop it.
    D3D11_DEPTH_STENCIL_DESC depth = {};
    depth.DepthEnable = TRUE;
    depth.DepthWriteMask = D3D11_DEPTH_WRITE_MASK_ALL;
    depth.DepthFunc = D3D11_COMPARISON_LESS_EQUAL;
    checkSetup(device->CreateDepthStencilState(&depth, &depth_), "error", "planet depth state");
    setDebugName(depth_.Get(), "planet depth (less or equal)");
    D3D11_DEPTH_STENCIL_DESC none = {};
    checkSetup(device->CreateDepthStencilState(&none, &noDepth_), "error", "no depth state");
    setDebugName(noDepth_.Get(), "no depth test");
}

void PlanetPipeline::drawImpostor(ID3D11ShaderResourceView* texture, const vm::Mat4& view) {
    ID3D11DeviceContext* context = state_->context();
    const planet::Impostor impostor = planet::impostor(view);
    state_->setWorld(impostor.world);
    context->UpdateSubresource(constants_.Get(), 0, nullptr, &impostor.constants, 0, 0);
    bindTexturedVertices(impostorQuad_.Get(), D3D11_PRIMITIVE_TOPOLOGY_TRIANGLESTRIP,
                         pixelShader_.Get(), texture);
    context->PSSetConstantBuffers(0, 1, constants_.GetAddressOf());
    // No culling: which face of the quad looks at the viewer depends on the view's turn.
    state_->setRasterizer(RenderState::Solid);
    state_->setBlending(false);
    context->OMSetDepthStencilState(depth_.Get(), 0);
    context->Draw(4, 0);
    context->OMSetDepthStencilState(nullptr, 0);
}

void PlanetPipeline::drawMesh(ID3D11ShaderResourceView* texture) {
    ID3D11DeviceContext* context = state_->context();
    state_->setWorld(vm::scaling(planet::kRadius, planet::kRadius, planet::kRadius) *
                     vm::translation(planet::kCentre));
    bindTexturedVertices(mesh_.Get(), D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST,
                         texturePixelShader_.Get(), texture);
    state_->setRasterizer(RenderState::SolidCullBack);
    state_->setBlending(false);
    context->OMSetDepthStencilState(depth_.Get(), 0);
    context->Draw(static_cast<UINT>(planet::kMeshVertices), 0);
    context->OMSetDepthStencilState(nullptr, 0);
}

void PlanetPipeline::bindTexturedVertices(ID3D11Buffer* vertices, D3D11_PRIMITIVE_TOPOLOGY topology,
                                          ID3D11PixelShader* shader,
                                          ID3D11ShaderResourceView* texture) {
    ID3D11DeviceContext* context = state_->context();
    const UINT offset = 0;
    context->IASetInputLayout(layout_.Get());
    context->IASetVertexBuffers(0, 1, &vertices, &kStride, &offset);
    context->IASetPrimitiveTopology(topology);
    context->VSSetShader(vertexShader_.Get(), nullptr, 0);
    context->VSSetConstantBuffers(0, 1, state_->transformBuffer());
    context->HSSetShader(nullptr, nullptr, 0);
    context->DSSetShader(nullptr, nullptr, 0);
    context->PSSetShader(shader, nullptr, 0);
    context->PSSetShaderResources(0, 1, &texture);
    context->PSSetConstantBuffers(1, 1, state_->colourBuffer());
    context->PSSetSamplers(0, 1, state_->sampler());
}

void PlanetPipeline::drawBehind(ID3D11Buffer* vertices, UINT count, ID3D11PixelShader* shader,
                                ID3D11ShaderResourceView* texture, float opacity) {
    state_->setColour({1, 1, 1, opacity});
    state_->context()->OMSetDepthStencilState(noDepth_.Get(), 0);
    drawTexturedTriangles(vertices, count, shader, texture);
    state_->context()->OMSetDepthStencilState(nullptr, 0);
}

void PlanetPipeline::drawTexturedTriangles(ID3D11Buffer* vertices, UINT count,
                                           ID3D11PixelShader* shader,
                                           ID3D11ShaderResourceView* texture) {
    bindTexturedVertices(vertices, D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST, shader, texture);
    state_->setRasterizer(RenderState::Solid);
    state_->setBlending(true);
    state_->context()->Draw(count, 0);
    state_->setBlending(false);
}
