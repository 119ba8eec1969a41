#include "graphics/patch-triangles.h"

#include <algorithm>

#include "graphics/patch-colours.h"
#include "graphics/patch-detail.h"

namespace {

// The room a block's used indices get: a quarter more, so that some of its patches can be
// drawn finer without moving the others.
uint32_t roomFor(size_t used) {
    return static_cast<uint32_t>(used + used / 4 + 192);
}

} // namespace

void PatchTriangles::writeBlock(const Model& model, const SurfaceCache& cache, size_t b,
                                uint32_t start, std::vector<uint32_t>& out) {
    const uint32_t from = cache.blockFirst(b), to = cache.blockFirst(b + 1);
    const size_t origin = out.size();
    for (bool blending : {false, true})
        for (uint32_t i = from; i < to; ++i) {
            if (patchBlends(model.patches[i]) != blending) continue;
            first_[i] = start + static_cast<uint32_t>(out.size() - origin);
            const uint32_t base = cache.firstVertex(i);
            for (uint32_t k : detail::triangleIndices(cache.gridOf(i)))
                out.push_back(base + k);
            end_[i] = start + static_cast<uint32_t>(out.size() - origin);
        }
}

void PatchTriangles::layOutAll(const Model& model, const SurfaceCache& cache) {
    const size_t count = model.patches.size();
    first_.assign(count, 0);
    end_.assign(count, 0);
    indices_.clear();
    blockEnd_.clear();
    for (size_t b = 0; b < cache.blocks(); ++b) {
        const uint32_t start = static_cast<uint32_t>(indices_.size());
        writeBlock(model, cache, b, start, indices_);
        // The room is left as degenerate triangles: never drawn, but defined.
        indices_.resize(start + roomFor(indices_.size() - start), 0);
        blockEnd_.push_back(static_cast<uint32_t>(indices_.size()));
    }
    laidAnew_ = true;
    ranges_.assign(1, {0, indices_.size()});
}

const PatchTriangles::Ranges& PatchTriangles::follow(const Model& model, const SurfaceCache& cache,
                                                     bool all) {
    ranges_.clear();
    laidAnew_ = false;
    if (all || cache.relaidAll() || blockEnd_.size() != cache.blocks() ||
        first_.size() != model.patches.size()) {
        layOutAll(model, cache);
        return ranges_;
    }
    for (uint32_t b : cache.relaidBlocks()) {
        const uint32_t start = b == 0 ? 0 : blockEnd_[b - 1];
        scratch_.clear();
        writeBlock(model, cache, b, start, scratch_);
        if (scratch_.size() > blockEnd_[b] - start) { // no room: every block anew
            layOutAll(model, cache);
            return ranges_;
        }
        std::copy(scratch_.begin(), scratch_.end(), indices_.begin() + start);
        ranges_.push_back({start, start + scratch_.size()});
    }
    return ranges_;
}
