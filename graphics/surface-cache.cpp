#include "graphics/surface-cache.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "core/parallel-ranges.h"
#include "graphics/patch-detail.h"

namespace {

// Patch i's grid.
void evaluate(const Model& model, size_t i, detail::Grid grid, vm::Float3* vertices,
              vm::Float3* normals) {
    bezier::tessellateGrid(bezier::controlPoints(model, model.patches[i]), detail::across(grid),
                           detail::down(grid), vertices, normals);
}

} // namespace

void SurfaceCache::patchesUsing(const std::vector<uint32_t>& points,
                                std::vector<uint32_t>& out) const {
    out.clear();
    for (uint32_t k : points)
        if (k < users_.points()) out.insert(out.end(), users_.begin(k), users_.end(k));
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

namespace {

// Patches a block: enough that the blocks stay few (a draw call or two each), at most 64 of
// them in a large model.
uint32_t patchesPerBlock(size_t patches) {
    constexpr size_t kLeastBlock = 1024, kMostBlocks = 64;
    return static_cast<uint32_t>(std::max(kLeastBlock, (patches + kMostBlocks - 1) / kMostBlocks));
}

// The room a block's grids of used vertices get: a quarter more, so that some of its patches
// can be drawn finer without moving the others.
uint32_t roomFor(uint32_t used) {
    return used + used / 4 + 64;
}

} // namespace

void SurfaceCache::addRange(size_t first, size_t end) {
    if (end <= first) return;
    ranges_.push_back({first, end});
}

// New grids for every patch: those at their old level whose points did not move (not in
// dirty_) are copied, the others evaluated, both cores sharing the work.
void SurfaceCache::layOut(const Model& model, const std::vector<detail::Grid>& grids, bool all) {
    const size_t count = model.patches.size();
    std::vector<uint8_t> stale(all ? 0 : count);
    if (!all)
        for (uint32_t i : dirty_)
            stale[i] = 1;
    const uint32_t perBlock = patchesPerBlock(count);
    // The new layout goes into the arrays the one before last used: an orbit lays everything
    // out often, and fresh memory of this size costs more to touch than to fill.
    std::vector<uint32_t>& first = spare_.first;
    std::vector<uint32_t> blockFirst{0}, blockEnd;
    first.resize(count + 1);
    uint32_t at = 0, blockStart = 0;
    for (size_t i = 0; i < count; ++i) {
        first[i] = at;
        at += detail::gridVertices(grids[i]);
        if ((i + 1) % perBlock == 0 || i + 1 == count) {
            at = blockStart + roomFor(at - blockStart);
            blockStart = at;
            blockFirst.push_back(static_cast<uint32_t>(i + 1));
            blockEnd.push_back(at);
        }
    }
    first[count] = at;
    std::vector<vm::Float3>& vertices = spare_.vertices;
    std::vector<vm::Float3>& normals = spare_.normals;
    vertices.resize(at);
    normals.resize(at);
    // Each block's room is left zero, as a new array's would be.
    for (size_t b = 0; b < blockEnd.size(); ++b) {
        const uint32_t used =
            first[blockFirst[b + 1] - 1] + detail::gridVertices(grids[blockFirst[b + 1] - 1]);
        std::fill(vertices.begin() + used, vertices.begin() + blockEnd[b], vm::Float3{});
        std::fill(normals.begin() + used, normals.begin() + blockEnd[b], vm::Float3{});
    }
    fresh_.assign(all ? 0 : count, 0);
    std::atomic<size_t> evaluated{0};
    inParallelRanges(
        count,
        [&](size_t from, size_t to) {
            size_t done = 0;
            for (size_t i = from; i < to; ++i) {
                const uint32_t n = detail::gridVertices(grids[i]);
                if (n == 0) continue;
                if (!all && !stale[i] && grids_[i] == grids[i]) {
                    std::memcpy(&vertices[first[i]], &vertices_[first_[i]], n * sizeof(vm::Float3));
                    std::memcpy(&normals[first[i]], &normals_[first_[i]], n * sizeof(vm::Float3));
                    continue;
                }
                evaluate(model, i, grids[i], &vertices[first[i]], &normals[first[i]]);
                if (!all) fresh_[i] = 1;
                ++done;
            }
            evaluated += done;
        },
        2048);
    vertices_.swap(vertices);
    normals_.swap(normals);
    first_.swap(first);
    blockFirst_.swap(blockFirst);
    blockEnd_.swap(blockEnd);
    grids_ = grids;
    evaluated_ = evaluated;
    relaid_ = relaidAll_ = true;
    relaidBlocks_.clear();
    addRange(0, vertices_.size());
}

bool SurfaceCache::layOutBlocks(const Model& model, const std::vector<detail::Grid>& grids,
                                std::vector<uint8_t>& stale) {
    const size_t count = model.patches.size();
    if (blockFirst_.size() < 2 || blockFirst_.back() != count) return false;
    relaidBlocks_.clear();
    for (size_t b = 0; b + 1 < blockFirst_.size(); ++b) {
        const uint32_t from = blockFirst_[b], to = blockFirst_[b + 1];
        uint32_t used = 0;
        bool changed = false;
        for (uint32_t i = from; i < to; ++i) {
            used += detail::gridVertices(grids[i]);
            changed = changed || grids[i] != grids_[i];
        }
        if (!changed) continue;
        const uint32_t start = b == 0 ? 0 : blockEnd_[b - 1];
        if (used > blockEnd_[b] - start) return false; // no room: everything anew
        relaidBlocks_.push_back(static_cast<uint32_t>(b));
    }
    // Most blocks changing (a zoom): laying everything out costs no more.
    if (relaidBlocks_.size() * 2 > blockFirst_.size() - 1) return false;
    fresh_.assign(count, 0);
    std::vector<vm::Float3>& vertices = spare_.vertices;
    std::vector<vm::Float3>& normals = spare_.normals;
    for (uint32_t b : relaidBlocks_) {
        const uint32_t from = blockFirst_[b], to = blockFirst_[b + 1];
        const uint32_t start = b == 0 ? 0 : blockEnd_[b - 1];
        vertices.assign(blockEnd_[b] - start, {});
        normals.assign(vertices.size(), {});
        uint32_t at = 0;
        for (uint32_t i = from; i < to; ++i) {
            const uint32_t n = detail::gridVertices(grids[i]);
            if (n > 0 && !stale[i] && grids_[i] == grids[i]) {
                std::memcpy(&vertices[at], &vertices_[first_[i]], n * sizeof(vm::Float3));
                std::memcpy(&normals[at], &normals_[first_[i]], n * sizeof(vm::Float3));
            } else if (n > 0) {
                evaluate(model, i, grids[i], &vertices[at], &normals[at]);
                fresh_[i] = 1;
                ++evaluated_;
            }
            stale[i] = 0;
            first_[i] = start + at;
            at += n;
        }
        std::copy(vertices.begin(), vertices.end(), vertices_.begin() + start);
        std::copy(normals.begin(), normals.end(), normals_.begin() + start);
        std::copy(grids.begin() + from, grids.begin() + to, grids_.begin() + from);
        addRange(start, start + at);
    }
    relaid_ = true;
    return true;
}

const SurfaceCache::Ranges& SurfaceCache::update(const Model& model, const GpuModelCopy& copy,
                                                 const std::vector<detail::Grid>& grids) {
    relaid_ = relaidAll_ = false;
    relaidBlocks_.clear();
    evaluated_ = 0;
    ranges_.clear();
    dirty_.clear();
    const size_t count = model.patches.size();
    if (grids.size() != count) return ranges_;
    const bool sameTopology =
        copy_ == &copy && topology_ == copy.topologyRevision() && grids_.size() == count;
    bool all = !sameTopology;
    if (!sameTopology) {
        users_.build(model);
    } else if (points_ != copy.pointsRevision()) {
        if (!copy.pointsMovedSince(points_, moved_))
            all = true;
        else
            patchesUsing(moved_, dirty_);
    }
    copy_ = &copy;
    topology_ = copy.topologyRevision();
    points_ = copy.pointsRevision();
    if (all) {
        layOut(model, grids, true);
        return ranges_;
    }
    std::vector<uint8_t> stale; // by patch, while blocks are laid out anew: its points moved
    if (grids != grids_) {
        stale.assign(count, 0);
        for (uint32_t i : dirty_)
            stale[i] = 1;
        if (!layOutBlocks(model, grids, stale)) {
            layOut(model, grids, false);
            return ranges_;
        }
    }
    // The grids whose points moved, evaluated again in place (those of blocks laid out anew
    // already were).
    for (uint32_t i : dirty_) {
        if (grids_[i] == detail::kNoGrid || (!stale.empty() && !stale[i])) continue;
        const uint32_t n = detail::gridVertices(grids_[i]);
        evaluate(model, i, grids_[i], &vertices_[first_[i]], &normals_[first_[i]]);
        if (!fresh_.empty()) fresh_[i] = 1;
        ++evaluated_;
        if (!ranges_.empty() && ranges_.back().second == first_[i])
            ranges_.back().second = first_[i] + n;
        else
            addRange(first_[i], first_[i] + n);
    }
    // In order, not overlapping.
    std::sort(ranges_.begin(), ranges_.end());
    Ranges merged;
    for (const auto& r : ranges_)
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    ranges_.swap(merged);
    return ranges_;
}
