// An in-memory stand-in for the device: records every buffer the model asks for.
#pragma once

#include <vector>

#include "graphics/gpu-buffers.h"

class RecordingGpu : public GpuBufferFactory {
  public:
    struct Created {
        bool vertex;
        size_t bytes;
        std::vector<int32_t> indices;
    };

    std::vector<Created> created;
    int live = 0;
    int updates = 0, rangeUpdates = 0;
    size_t pointsUploaded = 0;

    GpuBufferPtr createVertexBuffer(const vm::Float3*, size_t count) override {
        created.push_back({true, count * 12, {}});
        return std::make_unique<Buffer>(this);
    }
    GpuBufferPtr createIndexBuffer(const int32_t* indices, size_t count) override {
        created.push_back({false, count * 4, std::vector<int32_t>(indices, indices + count)});
        return std::make_unique<Buffer>(this);
    }
    void updateVertexBuffer(GpuBuffer&, const vm::Float3*, size_t) override { ++updates; }
    void updateVertexRange(GpuBuffer&, const vm::Float3*, size_t, size_t count) override {
        ++rangeUpdates;
        pointsUploaded += count;
    }

  private:
    struct Buffer : GpuBuffer {
        explicit Buffer(RecordingGpu* o) : owner(o) { ++owner->live; }
        ~Buffer() override { --owner->live; }
        RecordingGpu* owner;
    };
};
