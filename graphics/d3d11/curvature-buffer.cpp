#include "graphics/d3d11/curvature-buffer.h"

#include "core/win32/fatal-error.h"
#include "graphics/d3d11/debug-name.h"

size_t CurvatureBuffer::upload(ID3D11Device* device, ID3D11DeviceContext* context,
                               const std::vector<CurvatureGrids::Values>& values,
                               const SurfaceCache::Ranges& changed, size_t capacity) {
    SurfaceCache::Ranges all;
    const SurfaceCache::Ranges* ranges = &changed;
    size_t bytes = 0;
    if (!buffer_ || capacity_ != capacity) {
        buffer_.Reset();
        capacity_ = capacity;
        D3D11_BUFFER_DESC desc = {};
        desc.ByteWidth = static_cast<UINT>(capacity * kStride);
        desc.Usage = D3D11_USAGE_DEFAULT;
        desc.BindFlags = D3D11_BIND_VERTEX_BUFFER;
        checkSetup(device->CreateBuffer(&desc, nullptr, &buffer_), "arf", "patch curvatures");
        setDebugName(buffer_.Get(), "patch curvatures");
        if (!values.empty()) all.push_back({0, values.size()});
        ranges = &all;
    }
    for (const auto& [first, end] : *ranges) {
        const D3D11_BOX box = {static_cast<UINT>(first * kStride), 0, 0,
                               static_cast<UINT>(end * kStride),   1, 1};
        context->UpdateSubresource(buffer_.Get(), 0, &box, values.data() + first, 0, 0);
        bytes += (end - first) * kStride;
    }
    return bytes;
}
