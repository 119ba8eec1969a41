// The narrow seam between the GPU copy of a model and the graphics device: the copy asks for
// its buffers through this interface, which the renderer implements and tests replace with a
// recorder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/vector-math.h"

// A buffer living on the device; the copy owns it and drops it to release it.
class GpuBuffer {
  public:
    virtual ~GpuBuffer() = default;
};
using GpuBufferPtr = std::unique_ptr<GpuBuffer>;

class GpuBufferFactory {
  public:
    virtual ~GpuBufferFactory() = default;
    // Vertex buffer of count points, 12 bytes each. count is never 0.
    virtual GpuBufferPtr createVertexBuffer(const vm::Float3* points, size_t count) = 0;
    // Index buffer of count 32-bit indices. count is never 0.
    virtual GpuBufferPtr createIndexBuffer(const int32_t* indices, size_t count) = 0;
    // Rewrites a whole vertex buffer made by createVertexBuffer with as many points.
    virtual void updateVertexBuffer(GpuBuffer& buffer, const vm::Float3* points, size_t count) = 0;
    // Rewrites count points of such a buffer from point first on (points is the whole pool).
    virtual void updateVertexRange(GpuBuffer& buffer, const vm::Float3* points, size_t first,
                                   size_t count) = 0;
};
