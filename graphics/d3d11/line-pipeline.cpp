#include "graphics/d3d11/line-pipeline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/debug-name.h"
#include "graphics/line-shape-geometry.h"

using Microsoft::WRL::ComPtr;

namespace {

const UINT kShapeVertices[4] = {lines::kSphereVertices, lines::kCubeVertices, 6, 2};
constexpr int kGizmoSegments = 42;

ComPtr<ID3D11Buffer> createLineBuffer(ID3D11Device* device, const vm::Float3* vertices, UINT count,
                                      bool dynamic, const char* text, const char* name) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = count * sizeof(vm::Float3);
    desc.Usage = dynamic ? D3D11_USAGE_DYNAMIC : D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    desc.CPUAccessFlags = dynamic ? D3D11_CPU_ACCESS_WRITE : 0;
    D3D11_SUBRESOURCE_DATA initial = {vertices, 0, 0};
    ComPtr<ID3D11Buffer> buffer;
    checkSetup(device->CreateBuffer(&desc, dynamic ? nullptr : &initial, &buffer), text,
               "line shape buffer");
    setDebugName(buffer.Get(), name);
    return buffer;
}

void writeVertices(ID3D11DeviceContext* context, ID3D11Buffer* buffer, const vm::Float3* vertices,
                   size_t count) {
    D3D11_MAPPED_SUBRESOURCE mapped;
    if (FAILED(context->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped))) return;
    std::memcpy(mapped.pData, vertices, count * sizeof(vm::Float3));
    context->Unmap(buffer, 0);
}

} // namespace

void LinePipeline::create(RenderState& state) {
    state_ = &state;
    ID3D11Device* device = state.device();
    shapes_[WireSphere] = createLineBuffer(device, lines::wireSphere().data(),
                                           lines::kSphereVertices, false, "error", "wire sphere");
    shapes_[Cube] =
        createLineBuffer(device, lines::cube().data(), lines::kCubeVertices, false, "arf", "cube");
    shapes_[Arrow] = createLineBuffer(device, nullptr, 6, true, "arf", "arrow");
    shapes_[Segment] = createLineBuffer(device, nullptr, 2, true, "arf", "segment");

    // The rotate gizmo: 42 points of the unit circle in y = 0, and 42 sectors of the disc.
    std::array<vm::Float3, kGizmoSegments> ring;
    std::array<vm::Float3, 3 * kGizmoSegments> disc;
    auto onCircle = [](int i) {
        const float a = vm::kTwoPi * static_cast<float>(i) / kGizmoSegments;
        return vm::Float3{std::cos(a), 0, std::sin(a)};
    };
    for (int i = 0; i < kGizmoSegments; ++i) {
        ring[static_cast<size_t>(i)] = onCircle(i);
        disc[static_cast<size_t>(3 * i)] = onCircle(i - 1);
        disc[static_cast<size_t>(3 * i + 1)] = {0, 0, 0};
        disc[static_cast<size_t>(3 * i + 2)] = onCircle(i);
    }
    gizmoRing_ = createLineBuffer(device, ring.data(), kGizmoSegments, false, "arf", "gizmo ring");
    gizmoDisc_ =
        createLineBuffer(device, disc.data(), 3 * kGizmoSegments, false, "arf", "gizmo disc");
}

void LinePipeline::drawShape(Shape shape) {
    ID3D11DeviceContext* context = state_->context();
    const UINT stride = sizeof(vm::Float3), offset = 0;
    state_->bindPlainShaders();
    context->IASetVertexBuffers(0, 1, shapes_[shape].GetAddressOf(), &stride, &offset);
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    context->Draw(kShapeVertices[shape], 0);
    state_->counts.drawLines(kShapeVertices[shape]);
}

void LinePipeline::drawSegment(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour) {
    const vm::Float3 vertices[2] = {{from.x, from.y, from.z}, {to.x, to.y, to.z}};
    writeVertices(state_->context(), shapes_[Segment].Get(), vertices, 2);
    state_->setColour(colour);
    drawShape(Segment);
}

void LinePipeline::drawArrow(vm::Vec4 from, vm::Vec4 to, vm::Vec4 colour, vm::Vec4 facing) {
    const std::array<vm::Float3, 6> vertices = lines::arrow(from, to, facing);
    writeVertices(state_->context(), shapes_[Arrow].Get(), vertices.data(), vertices.size());
    state_->setColour(colour);
    drawShape(Arrow);
}

void LinePipeline::drawLineList(ID3D11Buffer* vertices, UINT count, vm::Vec4 colour) {
    if (!vertices || count == 0) return;
    ID3D11DeviceContext* context = state_->context();
    const UINT stride = sizeof(vm::Float3), offset = 0;
    state_->bindPlainShaders();
    state_->setColour(colour);
    context->IASetVertexBuffers(0, 1, &vertices, &stride, &offset);
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
    context->Draw(count, 0);
    state_->counts.drawLines(count);
}

Microsoft::WRL::ComPtr<ID3D11Buffer> LinePipeline::makeLineBuffer(const vm::Float3* points,
                                                                  size_t count) {
    Microsoft::WRL::ComPtr<ID3D11Buffer> buffer;
    constexpr size_t kMostBytes = size_t{1} << 30;
    if (count == 0 || count * sizeof(vm::Float3) > kMostBytes) return buffer;
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = static_cast<UINT>(count * sizeof(vm::Float3));
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    const D3D11_SUBRESOURCE_DATA initial = {points, 0, 0};
    if (FAILED(state_->device()->CreateBuffer(&desc, &initial, &buffer))) buffer.Reset();
    return buffer;
}

void LinePipeline::drawGizmo(int n, bool inProgress) {
    if (n <= 0) return;
    ID3D11DeviceContext* context = state_->context();
    const UINT stride = sizeof(vm::Float3), offset = 0;
    const UINT shown = static_cast<UINT>(std::min(n, kGizmoSegments));
    state_->bindPlainShaders();
    state_->setColour({0.1f, 0.1f, 1.0f, 1.0f});
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINESTRIP);
    context->IASetVertexBuffers(0, 1, gizmoRing_.GetAddressOf(), &stride, &offset);
    context->Draw(shown, 0);
    state_->setColour(inProgress ? vm::Vec4{0.3f, 0.3f, 1.0f, 0.53f}
                                 : vm::Vec4{0.1f, 1.0f, 0.1f, 0.53f});
    context->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
    context->IASetVertexBuffers(0, 1, gizmoDisc_.GetAddressOf(), &stride, &offset);
    state_->setBlending(true);
    context->Draw(3 * shown, 0);
    state_->setBlending(false);
}

void LinePipeline::drawCube(vm::Vec4 colour, vm::Vec4 centre, float halfSize) {
    state_->setWorld(vm::scaling(halfSize, halfSize, halfSize) * vm::translation(centre));
    state_->setColour(colour);
    drawShape(Cube);
}
