// The model's GPU copy made on the Direct3D device.
#pragma once

#include <d3d11.h>
#include <wrl/client.h>

#include "graphics/frame-counts.h"
#include "graphics/gpu-buffers.h"

struct DeviceBuffer : GpuBuffer {
    Microsoft::WRL::ComPtr<ID3D11Buffer> buffer;
};

// A default-usage vertex buffer filled once with data; a failure is the fatal error text.
Microsoft::WRL::ComPtr<ID3D11Buffer> createStaticVertexBuffer(ID3D11Device* device,
                                                              const void* data, UINT bytes,
                                                              const char* text, const char* what);

// Default-usage vertex and index buffers; a creation failure is the fatal error "arf".
class DeviceBufferFactory : public GpuBufferFactory {
  public:
    // counts: where the bytes the updates send are added.
    DeviceBufferFactory(ID3D11Device* device, ID3D11DeviceContext* context, FrameCounts& counts)
        : device_(device), context_(context), counts_(counts) {}
    GpuBufferPtr createVertexBuffer(const vm::Float3* points, size_t count) override;
    GpuBufferPtr createIndexBuffer(const int32_t* indices, size_t count) override;
    void updateVertexBuffer(GpuBuffer& buffer, const vm::Float3* points, size_t count) override;
    void updateVertexRange(GpuBuffer& buffer, const vm::Float3* points, size_t first,
                           size_t count) override;

    static ID3D11Buffer* bufferOf(const GpuBuffer* b) {
        return b ? static_cast<const DeviceBuffer*>(b)->buffer.Get() : nullptr;
    }

  private:
    GpuBufferPtr create(const void* data, size_t bytes, UINT bindFlags, const char* what);
    ID3D11Device* device_;
    ID3D11DeviceContext* context_;
    FrameCounts& counts_;
};
