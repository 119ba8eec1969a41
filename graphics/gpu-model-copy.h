// The GPU's copy of a model: a vertex buffer of the pool and one index buffer of every
// patch's sixteen indices, with counts of its changes so that what is derived from it (the
// CPU tessellation, the picking boxes, the joins display) knows when to follow, and which
// points moved so that they can follow those alone. The model itself keeps only what its
// file holds; the document's views tell the copy what changed (GpuCopyView).
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/gpu-buffers.h"
#include "model/model.h"

class GpuModelCopy {
  public:
    // Where the buffers are made; without one the copy keeps counts but no buffers.
    void setFactory(GpuBufferFactory* gpu) { gpu_ = gpu; }

    // The buffers made anew from model: the patches, the indices or the pool's size changed.
    // An empty pool gets no buffers at all: there is nothing to draw.
    void rebuild(const Model& model);
    // Lets go of the buffers (the device is going).
    void release();
    // Every point of model may have moved: the whole vertex buffer is written again.
    void allPointsMoved(const Model& model);
    // The points listed moved and nothing else changed: only the stretch of the pool between
    // the first and the last of them goes up, and derived copies can follow them alone.
    void pointsMoved(const Model& model, const std::vector<uint32_t>& moved);

    // The points moved after pointsRevision since, in out (with repeats); false when that is
    // not known (the topology changed, or all or too many points moved since).
    bool pointsMovedSince(uint64_t since, std::vector<uint32_t>& out) const;

    // Counts every change of the copy.
    uint64_t revision() const { return revision_; }
    // Counts changes of the patch list, the indices or the pool's size (the buffers made
    // anew), apart from points that only moved: a drag need not touch what depends on the
    // topology alone.
    uint64_t topologyRevision() const { return topologyRevision_; }
    // Counts moves of points (and every topology change).
    uint64_t pointsRevision() const { return pointsRevision_; }

    bool hasBuffers() const { return vertexBuffer_ != nullptr; }
    GpuBuffer* vertexBuffer() const { return vertexBuffer_.get(); }
    // Patch i's 16 control-point indices at 16·i.
    GpuBuffer* patchIndices() const { return patchIndices_.get(); }

  private:
    void forgetMoves();
    struct Move {
        uint64_t revision;
        uint32_t index;
    };

    GpuBufferFactory* gpu_ = nullptr;
    GpuBufferPtr vertexBuffer_, patchIndices_;
    uint64_t revision_ = 0, topologyRevision_ = 0, pointsRevision_ = 0;
    std::vector<Move> moves_; // the last moves, oldest first
    uint64_t movesFrom_ = 0;  // moves_ holds every move after this pointsRevision
};
