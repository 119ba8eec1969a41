#include "editor/patch-sides.h"

#include <algorithm>

#include "core/parallel-ranges.h"
#include "editor/float3-ops.h"

Side opposite(Side side) {
    switch (side) {
    case Side::Top:
        return Side::Bottom;
    case Side::Bottom:
        return Side::Top;
    case Side::Left:
        return Side::Right;
    case Side::Right:
        break;
    }
    return Side::Left;
}

int netIndex(Side side, int along, int in) {
    switch (side) {
    case Side::Top:
        return 4 * in + along;
    case Side::Bottom:
        return 4 * (3 - in) + along;
    case Side::Left:
        return 4 * along + in;
    case Side::Right:
        break;
    }
    return 4 * along + 3 - in;
}

std::array<int32_t, 4> sidePoints(const Model::Patch& patch, Side side) {
    std::array<int32_t, 4> points{};
    for (int k = 0; k < 4; ++k)
        points[static_cast<size_t>(k)] = patch.indices[static_cast<size_t>(netIndex(side, k, 0))];
    return points;
}

void sideParameters(Side side, float t, float& u, float& v) {
    switch (side) {
    case Side::Top:
        u = t, v = 0;
        return;
    case Side::Bottom:
        u = t, v = 1;
        return;
    case Side::Left:
        u = 0, v = t;
        return;
    case Side::Right:
        break;
    }
    u = 1, v = t;
}

bool collapsedSide(const Model& model, const Model::Patch& patch, Side side) {
    const std::array<int32_t, 4> points = sidePoints(patch, side);
    if (std::all_of(points.begin(), points.end(), [&](int32_t i) { return i == points[0]; }))
        return true;
    return collapsedSide(model, patch, side, patchSize(model, patch));
}

bool collapsedSide(const Model& model, const Model::Patch& patch, Side side, float size) {
    const std::array<int32_t, 4> points = sidePoints(patch, side);
    if (std::all_of(points.begin(), points.end(), [&](int32_t i) { return i == points[0]; }))
        return true;
    const vm::Float3 first = model.points[static_cast<size_t>(points[0])];
    float reach = 0;
    for (int32_t i : points)
        reach = std::max(reach, f3::length(f3::sub(model.points[static_cast<size_t>(i)], first)));
    return reach <= kCollapsedSide * size;
}

namespace {

// Sides are sorted on both cores from this many on.
constexpr size_t kParallelSort = 8192;

uint64_t cornersOf(const std::array<int32_t, 4>& points) {
    const auto a = static_cast<uint32_t>(points[0]), b = static_cast<uint32_t>(points[3]);
    return a < b ? (uint64_t{a} << 32) | b : (uint64_t{b} << 32) | a;
}

} // namespace

SideIndex::SideIndex(const Model& model, bool shownOnly, const std::vector<uint8_t>* within) {
    entries_.reserve(model.patches.size() * 4);
    const auto inside = [&](const std::array<int32_t, 4>& points) {
        if (!within) return true;
        for (int32_t i : points)
            if (static_cast<size_t>(i) >= within->size() || !(*within)[static_cast<size_t>(i)])
                return false;
        return true;
    };
    // Every side runs between two of the net's corners: a patch none of whose corners is
    // within has no side within.
    const auto cornerWithin = [&](const Model::Patch& patch) {
        for (size_t corner : {size_t{0}, size_t{3}, size_t{12}, size_t{15}})
            if (inside({patch.indices[corner], patch.indices[corner], patch.indices[corner],
                        patch.indices[corner]}))
                return true;
        return false;
    };
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (shownOnly && !model.isShown(p)) continue;
        if (within && !cornerWithin(model.patches[p])) continue;
        for (Side side : kSides) {
            const std::array<int32_t, 4> points = sidePoints(model.patches[p], side);
            if (inside(points))
                entries_.push_back({cornersOf(points), {static_cast<uint32_t>(p), side}});
        }
    }
    // By the ends alone (a side's inner points are compared when its partners are asked
    // for); the patch and side keep the order the same from run to run. Many sides are sorted
    // in two halves on both cores and merged: no two entries are equal, so the order is the
    // one a single sort gives.
    const auto earlier = [](const Entry& a, const Entry& b) {
        if (a.corners != b.corners) return a.corners < b.corners;
        if (a.side.patch != b.side.patch) return a.side.patch < b.side.patch;
        return a.side.side < b.side.side;
    };
    const auto middle = entries_.begin() + static_cast<std::ptrdiff_t>(entries_.size() / 2);
    inParallelRanges(
        2,
        [&](size_t from, size_t to) {
            for (size_t half = from; half < to; ++half)
                std::sort(half == 0 ? entries_.begin() : middle,
                          half == 0 ? middle : entries_.end(), earlier);
        },
        entries_.size() < kParallelSort ? 3 : 2);
    std::inplace_merge(entries_.begin(), middle, entries_.end(), earlier);
}

void SideIndex::partners(const Model& model, SideRef of, std::vector<SideRef>& sides,
                         std::vector<bool>& reversed) const {
    partnersOfSide(model, of, sides, reversed);
    // Asked last: few sides have partners, and the same points make both sides poles.
    if (!sides.empty() && collapsedSide(model, model.patches[of.patch], of.side)) {
        sides.clear();
        reversed.clear();
    }
}

void SideIndex::partnersOfSide(const Model& model, SideRef of, std::vector<SideRef>& sides,
                               std::vector<bool>& reversed) const {
    sides.clear();
    reversed.clear();
    const std::array<int32_t, 4> points = sidePoints(model.patches[of.patch], of.side);
    std::array<int32_t, 4> backwards = points;
    std::reverse(backwards.begin(), backwards.end());
    const uint64_t corners = cornersOf(points);
    auto it = std::lower_bound(entries_.begin(), entries_.end(), corners,
                               [](const Entry& e, uint64_t c) { return e.corners < c; });
    for (; it != entries_.end() && it->corners == corners; ++it) {
        if (it->side.patch == of.patch && it->side.side == of.side) continue;
        const std::array<int32_t, 4> theirs =
            sidePoints(model.patches[it->side.patch], it->side.side);
        if (theirs != points && theirs != backwards) continue; // the same ends only
        sides.push_back(it->side);
        reversed.push_back(theirs != points);
    }
}

namespace {

// Per pool point: used by a selected patch. The partners of a selected patch's side have all
// their points there, so an index of those sides alone finds them.
std::vector<uint8_t> pointsOfSelection(const Model& model) {
    std::vector<uint8_t> used(model.points.size());
    for (const Model::Patch& patch : model.patches)
        if (patch.selected)
            for (int32_t i : patch.indices)
                if (i >= 0 && static_cast<size_t>(i) < used.size())
                    used[static_cast<size_t>(i)] = 1;
    return used;
}

} // namespace

std::vector<SharedEdge> sharedEdges(const Model& model, EdgesOf which) {
    const bool all = which == EdgesOf::All;
    const std::vector<uint8_t> selection = all ? std::vector<uint8_t>{} : pointsOfSelection(model);
    const SideIndex index(model, true, all ? nullptr : &selection);
    std::vector<SharedEdge> edges;
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!model.isShown(p) || (!all && !model.patches[p].selected)) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            index.partners(model, of, partners, reversed);
            for (size_t k = 0; k < partners.size(); ++k) {
                // Each pair once: from its lower patch, or from the selected one when the
                // other is never visited.
                const bool visited = all || model.patches[partners[k].patch].selected;
                if (which == EdgesOf::BothSelected && !visited) continue;
                if (visited && partners[k].patch < of.patch) continue;
                // A patch closed on itself: its seam from its lower side.
                if (partners[k].patch == of.patch && partners[k].side < of.side) continue;
                edges.push_back({of, partners[k], reversed[k]});
            }
        }
    }
    return edges;
}
