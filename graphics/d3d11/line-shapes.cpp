// Coloured lines: wire sphere, cube, arrows and segments, through "debug.shader".
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/line-shape-geometry.h"

namespace {

const wchar_t* const kLineShader = L"graphics\\nuanceurs\\debug.shader";
const UINT kShapeVertices[4] = {lines::kSphereVertices, lines::kCubeVertices, 6, 2};

ComPtr<ID3D11Buffer> createLineBuffer(ID3D11Device* device, const vm::Float3* vertices, UINT count,
                                      bool dynamic, const char* text) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = count * sizeof(vm::Float3);
    desc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    desc.CPUAccessFlags = dynamic ? D3D11_CPU_ACCESS_WRITE : 0;
    D3D11_SUBRESOURCE_DATA initial = {vertices, 0, 0};
    ComPtr<ID3D11Buffer> buffer;
    checkSetup(device->CreateBuffer(&desc, dynamic ? nullptr : &initial, &buffer), text,
               "line shape buffer");
    return buffer;
}

} // namespace

void Renderer::createLineShapes() {
    lines_.shapes[WireSphere] = createLineBuffer(device(), lines::wireSphere().data(),
                                                 lines::kSphereVertices, false, "error");
    lines_.shapes[Cube] =
        createLineBuffer(device(), lines::cube().data(), lines::kCubeVertices, false, "arf");
    lines_.shapes[Arrow] = createLineBuffer(device(), nullptr, 6, true, "arf");
    lines_.shapes[Segment] = createLineBuffer(device(), nullptr, 2, true, "arf");

    // The rotate gizmo: 42 points of the unit circle in y = 0, and 42 sectors of the disc.
    std::array<vm::Float3, 42> ring;
    std::array<vm::Float3, 126> disc;
    auto onCircle = [](int i) {
        const float a = 2 * vm::kPi * static_cast<float>(i) / 42;
        return vm::Float3{std::cos(a), 0, std::sin(a)};
    };
    for (int i = 0; i < 42; ++i) {
        ring[static_cast<size_t>(i)] = onCircle(i);
        disc[static_cast<size_t>(3 * i)] = onCircle(i - 1);
        disc[static_cast<size_t>(3 * i + 1)] = {0, 0, 0};
        disc[static_cast<size_t>(3 * i + 2)] = onCircle(i);
    }
    lines_.gizmoRing = createLineBuffer(device(), ring.data(), 42, false, "arf");
    lines_.gizmoDisc = createLineBuffer(device(), disc.data(), 126, false, "arf");

    ComPtr<ID3DBlob> ps = compileOrDie(kLineShader, "PS", "ps", "arf");
    checkSetup(device()->CreatePixelShader(ps->GetBufferPointer(), ps->GetBufferSize(), nullptr,
                                           &lines_.pixelShader),
               "arf", "line pixel shader");
    ComPtr<ID3DBlob> vs = compileOrDie(kLineShader, "VS", "vs", "arf");
    checkSetup(device()->CreateVertexShader(vs->GetBufferPointer(), vs->GetBufferSize(), nullptr,
                                            &lines_.vertexShader),
               "arf", "line vertex shader");
    const D3D11_INPUT_ELEMENT_DESC position = {
        "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0};
    checkSetup(device()->CreateInputLayout(&position, 1, vs->GetBufferPointer(),
                                           vs->GetBufferSize(), &positionLayout_),
               "arf", "position layout");

    ComPtr<ID3DBlob> shadedPs = compileOrDie(kLineShader, "ShadedPS", "ps", "arf");
    checkSetup(device()->CreatePixelShader(shadedPs->GetBufferPointer(), shadedPs->GetBufferSize(),
                                           nullptr, &patches_.shadedPixelShader),
               "arf", "shaded pixel shader");
    ComPtr<ID3DBlob> shadedVs = compileOrDie(kLineShader, "ShadedVS", "vs", "arf");
    checkSetup(device()->CreateVertexShader(shadedVs->GetBufferPointer(), shadedVs->GetBufferSize(),
                                            nullptr, &patches_.shadedVertexShader),
               "arf", "shaded vertex shader");
    const D3D11_INPUT_ELEMENT_DESC shadedElements[2] = {
        {"POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0},
        {"NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 1, 0, D3D11_INPUT_PER_VERTEX_DATA, 0}};
    checkSetup(device()->CreateInputLayout(shadedElements, 2, shadedVs->GetBufferPointer(),
                                           shadedVs->GetBufferSize(), &patches_.shadedLayout),
               "arf", "shaded layout");
    D3D11_BUFFER_DESC light = {};
    light.ByteWidth = 16;
    light.Usage = D3D11_USAGE_DEFAULT;
    light.BindFlags = D3D11_BIND_CONSTANT_BUFFER;
    checkSetup(device()->CreateBuffer(&light, nullptr, &patches_.lightBuffer), "arf",
               "light buffer");
}

void Renderer::setColour(vm::Vec4 colour) {
    ColourConstants constants{colour};
    context()->PSSetConstantBuffers(1, 1, colourBuffer_.GetAddressOf());
    context()->UpdateSubresource(colourBuffer_.Get(), 0, nullptr, &constants, 0, 0);
}

void Renderer::drawShape(Shape shape) {
    const UINT stride = sizeof(vm::Float3), offset = 0;
    context()->IASetInputLayout(positionLayout_.Get());
    context()->IASetVertexBuffers(0, 1, lines_.shapes[shape].GetAddressOf(), &stride, &offset);
    context()->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    context()->VSSetShader(lines_.vertexShader.Get(), nullptr, 0);
    context()->VSSetConstantBuffers(0, 1, transformBuffer_.GetAddressOf());
    context()->HSSetShader(nullptr, nullptr, 0);
    context()->DSSetShader(nullptr, nullptr, 0);
    context()->PSSetShader(lines_.pixelShader.Get(), nullptr, 0);
    context()->Draw(kShapeVertices[shape], 0);
}

namespace {
void writeVertices(ID3D11DeviceContext* context, ID3D11Buffer* buffer, const vm::Float3* vertices,
                   size_t count) {
    D3D11_MAPPED_SUBRESOURCE mapped;
    if (FAILED(context->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
    std::memcpy(mapped.pData, vertices, count * sizeof(vm::Float3));
    context->Unmap(buffer, 0);
}
} // namespace

void Renderer::drawSegment(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour) {
    const vm::Float3 vertices[2] = {{from.x, from.y, from.z}, {to.x, to.y, to.z}};
    writeVertices(context(), lines_.shapes[Segment].Get(), vertices, 2);
    setColour(colour);
    drawShape(Segment);
}

void Renderer::drawArrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour) {
    const std::array<vm::Float3, 6> vertices = lines::arrow(from, to, arrowFacing);
    writeVertices(context(), lines_.shapes[Arrow].Get(), vertices.data(), vertices.size());
    setColour(colour);
    drawShape(Arrow);
}

void Renderer::drawGizmo(int n, bool inProgress) {
    if (n <= 0) return;
    const UINT stride = sizeof(vm::Float3), offset = 0;
    context()->IASetInputLayout(positionLayout_.Get());
    context()->VSSetShader(lines_.vertexShader.Get(), nullptr, 0);
    context()->VSSetConstantBuffers(0, 1, transformBuffer_.GetAddressOf());
    context()->HSSetShader(nullptr, nullptr, 0);
    context()->DSSetShader(nullptr, nullptr, 0);
    context()->PSSetShader(lines_.pixelShader.Get(), nullptr, 0);
    setColour({0.1f, 0.1f, 1.0f, 1.0f});
    context()->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP);
    context()->IASetVertexBuffers(0, 1, lines_.gizmoRing.GetAddressOf(), &stride, &offset);
    context()->Draw(static_cast<UINT>(std::min(n, 42)), 0);
    setColour(inProgress ? vm::Vec4{0.3f, 0.3f, 1.0f, 0.53f} : vm::Vec4{0.1f, 1.0f, 0.1f, 0.53f});
    context()->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context()->IASetVertexBuffers(0, 1, lines_.gizmoDisc.GetAddressOf(), &stride, &offset);
    context()->OMSetBlendState(alphaBlend_.Get(), nullptr, 0xFFFFFFFF);
    context()->Draw(static_cast<UINT>(3 * std::min(n, 42)), 0);
    context()->OMSetBlendState(nullptr, nullptr, 0xFFFFFFFF);
}

void Renderer::drawCube(vm::Vec4 colour, vm::Vec4 centre, float halfSize) {
    setWorld(vm::scaling(halfSize, halfSize, halfSize) * vm::translation(centre));
    setColour(colour);
    drawShape(Cube);
}
