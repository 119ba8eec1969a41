#include "editor/live-joins.h"

#include <algorithm>
#include <utility>

#include "editor/float3-ops.h"
#include "editor/join-angles.h"
#include "editor/join-rows.h"
#include "editor/patch-sides.h"
#include "editor/size-tolerance.h"

namespace {

// The patches using any point marked in mask, and the points those patches use.
std::vector<uint8_t> pointsOfPatchesTouching(const Model& model, const std::vector<uint8_t>& mask,
                                             std::vector<uint32_t>* patches = nullptr) {
    std::vector<uint8_t> reached(model.points.size(), 0);
    for (size_t k = 0; k < model.patches.size(); ++k) {
        const auto& indices = model.patches[k].indices;
        bool touches = false;
        for (uint32_t i : indices)
            if (i < mask.size() && mask[i]) touches = true;
        if (!touches) continue;
        if (patches) patches->push_back(static_cast<uint32_t>(k));
        for (uint32_t i : indices)
            if (i < reached.size()) reached[i] = 1;
    }
    return reached;
}

} // namespace

uint32_t LiveJoins::localOf(uint32_t point) {
    const auto [at, added] = local_.try_emplace(point, static_cast<uint32_t>(points_.size()));
    if (added) {
        points_.push_back(point);
        start_.push_back({});
        columnsOf_.emplace_back();
    }
    return at->second;
}

void LiveJoins::begin(const Model& model, const std::vector<uint32_t>& moving) {
    clear();
    std::vector<uint8_t> mask(model.points.size(), 0);
    for (uint32_t p : moving)
        if (p < mask.size()) mask[p] = 1;
    // A moved point's partner lies in a patch beside one of its own; that one's partner in
    // turn (around a corner) in a patch touching those: two rings of patches hold them all.
    const std::vector<uint8_t> ring1 = pointsOfPatchesTouching(model, mask);
    std::vector<uint32_t> ring2Patches;
    const std::vector<uint8_t> within = pointsOfPatchesTouching(model, ring1, &ring2Patches);
    const SideIndex sides(model, true, &within);
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    for (uint32_t patch : ring2Patches) {
        if (!model.patches[patch].visible) continue;
        for (Side side : kSides) {
            const SideRef of{patch, side};
            sides.partners(model, of, partners, reversed);
            for (size_t k = 0; k < partners.size(); ++k) {
                const SideRef other = partners[k];
                // Each pair once (a patch closed on itself too).
                if (other.patch < patch || (other.patch == patch && other.side <= side)) continue;
                const SharedEdge edge{of, other, reversed[k]};
                if (joinAngle(model, edge) > kSmoothDegrees) continue;
                const float size = std::max(patchSize(model, model.patches[patch]),
                                            patchSize(model, model.patches[other.patch]));
                const RowJoin j = sharedJoin(model, edge, size);
                for (int c = 0; c < 4; ++c) {
                    const auto e = static_cast<uint32_t>(j.e[c]), a = static_cast<uint32_t>(j.a[c]),
                               b = static_cast<uint32_t>(j.b[c]);
                    const vm::Float3 pe = model.points[e], pa = model.points[a],
                                     pb = model.points[b];
                    const float inner = f3::length(f3::sub(pe, pa)),
                                outer = f3::length(f3::sub(pb, pe));
                    // A row collapsed onto its edge has no direction to keep.
                    if (!(inner > size * kCollapsedSide) || !(outer > size * kCollapsedSide))
                        continue;
                    Column column{e, a, b, outer / inner, {}};
                    column.offset =
                        f3::sub(pb, f3::add(pe, f3::scale(f3::sub(pe, pa), column.ratio)));
                    const auto index = static_cast<uint32_t>(columns_.size());
                    columns_.push_back(column);
                    for (uint32_t p : {e, a, b}) {
                        const uint32_t l = localOf(p);
                        start_[l] = model.points[p];
                        columnsOf_[l].push_back(index);
                    }
                }
            }
        }
    }
    decided_.assign(points_.size(), 0);
    wasTouched_.assign(points_.size(), 0);
}

vm::Float3 LiveJoins::pressedAt(uint32_t point) const {
    const auto found = local_.find(point);
    return found == local_.end() ? vm::Float3{} : start_[found->second];
}

void LiveJoins::place(Model& model, uint32_t local, vm::Float3 at, std::vector<uint32_t>& queue) {
    model.points[points_[local]] = at;
    decided_[local] = 1;
    if (!wasTouched_[local]) {
        wasTouched_[local] = 1;
        touched_.push_back(points_[local]);
    }
    for (uint32_t c : columnsOf_[local])
        queue.push_back(c);
}

// One pair across an edge lined up again with what has been decided of it.
void LiveJoins::settle(Model& model, const Column& c, std::vector<uint32_t>& queue) {
    const uint32_t e = local_.at(c.e), a = local_.at(c.a), b = local_.at(c.b);
    const bool de = decided_[e], da = decided_[a], db = decided_[b];
    const vm::Float3 pe = model.points[c.e];
    if (de && !da && !db) { // the edge point moved: its pair goes with it
        const vm::Float3 by = f3::sub(pe, start_[e]);
        place(model, a, f3::add(start_[a], by), queue);
        place(model, b, f3::add(start_[b], by), queue);
    } else if (!db && (de || da)) {
        decided_[e] = 1; // it stays where the line through it was worked out from
        const vm::Float3 out = f3::scale(f3::sub(pe, model.points[c.a]), c.ratio);
        place(model, b, f3::add(f3::add(pe, out), c.offset), queue);
    } else if (!da && db) {
        decided_[e] = 1;
        const vm::Float3 out = f3::sub(f3::sub(model.points[c.b], pe), c.offset);
        place(model, a, f3::sub(pe, f3::scale(out, 1 / c.ratio)), queue);
    }
}

const std::vector<uint32_t>& LiveJoins::follow(Model& model, const std::vector<uint32_t>& moved) {
    if (!active()) return touched_;
    std::fill(decided_.begin(), decided_.end(), 0);
    std::vector<uint32_t> queue;
    for (uint32_t p : moved) {
        const auto found = local_.find(p);
        if (found == local_.end()) continue;
        decided_[found->second] = 1;
        for (uint32_t c : columnsOf_[found->second])
            queue.push_back(c);
    }
    // What an earlier call placed starts again from the press.
    for (uint32_t p : touched_) {
        const uint32_t l = local_.at(p);
        if (!decided_[l]) model.points[p] = start_[l];
    }
    // Nearest first: a pair is lined up from the points decided closest to what moved.
    for (size_t next = 0; next < queue.size(); ++next)
        settle(model, columns_[queue[next]], queue);
    return touched_;
}

const std::vector<uint32_t>& LiveJoins::restore(Model& model) {
    for (uint32_t p : touched_)
        if (p < model.points.size()) model.points[p] = start_[local_.at(p)];
    return touched_;
}

std::vector<uint32_t> movedKeepingJoins(Model& model,
                                        const std::function<std::vector<uint32_t>(Model&)>& move) {
    const std::vector<vm::Float3> before = model.points;
    std::vector<uint32_t> moved = move(model);
    if (model.points.size() != before.size()) return moved; // not a move of points
    // The joins are found with the points where they were, then followed.
    std::vector<vm::Float3> after;
    after.reserve(moved.size());
    for (uint32_t p : moved) {
        after.push_back(model.points[p]);
        model.points[p] = before[p];
    }
    LiveJoins joins;
    joins.begin(model, moved);
    for (size_t k = 0; k < moved.size(); ++k)
        model.points[moved[k]] = after[k];
    const std::vector<uint32_t>& followed = joins.follow(model, moved);
    return LiveJoins::together(std::move(moved), followed);
}
