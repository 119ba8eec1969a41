#include "graphics/d3d11/device-buffers.h"

#include "core/win32/fatal-error.h"

GpuBufferPtr DeviceBufferFactory::create(const void* data, size_t bytes, UINT bindFlags,
                                         const char* what) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = static_cast<UINT>(bytes);
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = bindFlags;
    D3D11_SUBRESOURCE_DATA initial = {};
    initial.pSysMem = data;
    auto result = std::make_unique<DeviceBuffer>();
    checkSetup(device_->CreateBuffer(&desc, &initial, &result->buffer), "arf", what);
    return result;
}

GpuBufferPtr DeviceBufferFactory::createVertexBuffer(const vm::Float3* points, size_t count) {
    return create(points, count * sizeof(vm::Float3), D3D11_BIND_VERTEX_BUFFER,
                  "model vertex buffer");
}

GpuBufferPtr DeviceBufferFactory::createIndexBuffer(const int32_t* indices, size_t count) {
    return create(indices, count * sizeof(int32_t), D3D11_BIND_INDEX_BUFFER, "model index buffer");
}

void DeviceBufferFactory::updateVertexBuffer(GpuBuffer& buffer, const vm::Float3* points,
                                             size_t count) {
    // The buffer was made for exactly this many points.
    context_->UpdateSubresource(bufferOf(&buffer), 0, nullptr, points, 0, 0);
    counts_.bytesSent += count * sizeof(vm::Float3);
}

void DeviceBufferFactory::updateVertexRange(GpuBuffer& buffer, const vm::Float3* points,
                                            size_t first, size_t count) {
    const D3D11_BOX box = {static_cast<UINT>(first * sizeof(vm::Float3)),           0, 0,
                           static_cast<UINT>((first + count) * sizeof(vm::Float3)), 1, 1};
    context_->UpdateSubresource(bufferOf(&buffer), 0, &box, points + first, 0, 0);
    counts_.bytesSent += count * sizeof(vm::Float3);
}

Microsoft::WRL::ComPtr<ID3D11Buffer> createStaticVertexBuffer(ID3D11Device* device,
                                                              const void* data, UINT bytes,
                                                              const char* text, const char* what) {
    D3D11_BUFFER_DESC desc = {};
    desc.ByteWidth = bytes;
    desc.Usage = D3D11_USAGE_DEFAULT;
    desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
    D3D11_SUBRESOURCE_DATA init = {data, 0, 0};
    Microsoft::WRL::ComPtr<ID3D11Buffer> buffer;
    checkSetup(device->CreateBuffer(&desc, &init, &buffer), text, what);
    return buffer;
}
