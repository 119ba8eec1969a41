#include "editor/live-joins.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "editor/float3-ops.h"
#include "editor/join-angles.h"
#include "editor/join-rows.h"
#include "editor/patch-sides.h"
#include "editor/size-tolerance.h"

namespace {

double square(double v) {
    return v * v;
}

// The patches using any point marked in mask, and the points those patches use; with
// outside, the points of the other patches too.
std::vector<uint8_t> pointsOfPatchesTouching(const Model& model, const std::vector<uint8_t>& mask,
                                             std::vector<uint32_t>* patches = nullptr,
                                             std::vector<uint8_t>* outside = nullptr) {
    std::vector<uint8_t> reached(model.points.size(), 0);
    if (outside) outside->assign(model.points.size(), 0);
    for (size_t k = 0; k < model.patches.size(); ++k) {
        const auto& indices = model.patches[k].indices;
        bool touches = false;
        for (uint32_t i : indices)
            if (i < mask.size() && mask[i]) touches = true;
        if (!touches && !outside) continue;
        if (touches && patches) patches->push_back(static_cast<uint32_t>(k));
        std::vector<uint8_t>& marks = touches ? reached : *outside;
        for (uint32_t i : indices)
            if (i < marks.size()) marks[i] = 1;
    }
    return reached;
}

// A column is settled once it lines up to within this share of its patches' size.
constexpr double kSettledShare = 1e-6;
// Sweeps of the solve: columns that cannot all be met (points they need are held) stop here.
constexpr int kMostSweeps = 100;

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
    std::vector<uint8_t> outside;
    const std::vector<uint8_t> within =
        pointsOfPatchesTouching(model, ring1, &ring2Patches, &outside);
    const SideIndex sides(model, true, &within);
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    std::vector<uint32_t> poles;
    for (uint32_t patch : ring2Patches) {
        if (!model.patches[patch].visible) continue;
        for (Side side : kSides) {
            const SideRef of{patch, side};
            if (collapsedSide(model, model.patches[patch], side))
                for (int32_t i : sidePoints(model.patches[patch], side))
                    poles.push_back(static_cast<uint32_t>(i));
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
                // A row beside the edge collapsed to one point (where a knob pinches) is a
                // pole too: moved, it would turn every column's tangent at once.
                for (const int32_t* row : {j.a, j.b})
                    if (std::all_of(row, row + 4, [&](int32_t i) { return i == row[0]; }))
                        poles.push_back(static_cast<uint32_t>(row[0]));
                for (int c = 0; c < 4; ++c) {
                    const auto e = static_cast<uint32_t>(j.e[c]), a = static_cast<uint32_t>(j.a[c]),
                               b = static_cast<uint32_t>(j.b[c]);
                    const vm::Float3 pe = model.points[e], pa = model.points[a],
                                     pb = model.points[b];
                    const double inner = std::sqrt(square(pe.x - pa.x) + square(pe.y - pa.y) +
                                                   square(pe.z - pa.z)),
                                 outer = std::sqrt(square(pb.x - pe.x) + square(pb.y - pe.y) +
                                                   square(pb.z - pe.z));
                    // A row collapsed onto its edge (at a pole) has no direction to keep.
                    if (!(inner > size * kCollapsedSide) || !(outer > size * kCollapsedSide) ||
                        a == b)
                        continue;
                    const double ratio = outer / inner;
                    const Column column{localOf(e),
                                        localOf(a),
                                        localOf(b),
                                        ratio,
                                        {pb.x - pe.x - ratio * (pe.x - pa.x),
                                         pb.y - pe.y - ratio * (pe.y - pa.y),
                                         pb.z - pe.z - ratio * (pe.z - pa.z)},
                                        kSettledShare * size};
                    const auto index = static_cast<uint32_t>(columns_.size());
                    columns_.push_back(column);
                    for (uint32_t l : {column.e, column.a, column.b}) {
                        start_[l] = model.points[points_[l]];
                        columnsOf_[l].push_back(index);
                    }
                }
            }
        }
    }
    const size_t count = points_.size();
    pole_.assign(count, 0);
    held_.assign(count, 0);
    for (uint32_t p : poles)
        if (const auto found = local_.find(p); found != local_.end())
            pole_[found->second] = held_[found->second] = 1;
    for (size_t l = 0; l < count; ++l)
        held_[l] |= outside[points_[l]];
    now_.assign(count, {});
    moving_.assign(count, 0);
    decided_.assign(count, 0);
    placed_.assign(count, 0);
    wasTouched_.assign(count, 0);
}

vm::Float3 LiveJoins::pressedAt(uint32_t point) const {
    const auto found = local_.find(point);
    return found == local_.end() ? vm::Float3{} : start_[found->second];
}

void LiveJoins::place(uint32_t local, Point3 at, std::vector<uint32_t>& queue) {
    decided_[local] = 1;
    if (pole_[local]) return; // a pole stays one point
    now_[local] = at;
    placed_[local] = 1;
    for (uint32_t c : columnsOf_[local])
        queue.push_back(c);
}

// One pair across an edge lined up again with what has been decided of it.
void LiveJoins::settle(const Column& c, std::vector<uint32_t>& queue) {
    const bool de = decided_[c.e], da = decided_[c.a], db = decided_[c.b];
    const Point3 pe = now_[c.e];
    if (de && !da && !db) { // the edge point moved: its pair goes with it
        const Point3 from = toExact(start_[c.e]), a = toExact(start_[c.a]),
                     b = toExact(start_[c.b]);
        const Point3 by{pe.x - from.x, pe.y - from.y, pe.z - from.z};
        place(c.a, {a.x + by.x, a.y + by.y, a.z + by.z}, queue);
        place(c.b, {b.x + by.x, b.y + by.y, b.z + by.z}, queue);
    } else if (!db && (de || da)) {
        decided_[c.e] = 1; // it stays where the line through it was worked out from
        const Point3 a = now_[c.a];
        place(c.b,
              {pe.x + c.ratio * (pe.x - a.x) + c.offset.x,
               pe.y + c.ratio * (pe.y - a.y) + c.offset.y,
               pe.z + c.ratio * (pe.z - a.z) + c.offset.z},
              queue);
    } else if (!da && db) {
        decided_[c.e] = 1;
        const Point3 b = now_[c.b];
        place(c.a,
              {pe.x - (b.x - pe.x - c.offset.x) / c.ratio,
               pe.y - (b.y - pe.y - c.offset.y) / c.ratio,
               pe.z - (b.z - pe.z - c.offset.z) / c.ratio},
              queue);
    }
}

// Around a ring of patches, or a corner where the ratios differ, the first pass reaches a
// column from two sides and lines it up with one of them only. Sweeps over every column then
// move each one's free points the least that lines it up (projections onto b − e =
// ratio · (e − a) + offset in turn), until every column is within its tolerance.
void LiveJoins::solveTogether() {
    for (int sweep = 0; sweep < kMostSweeps; ++sweep) {
        bool settled = true;
        for (const Column& c : columns_) {
            Point3& e = now_[c.e];
            Point3& a = now_[c.a];
            Point3& b = now_[c.b];
            const Point3 miss{b.x - e.x - c.ratio * (e.x - a.x) - c.offset.x,
                              b.y - e.y - c.ratio * (e.y - a.y) - c.offset.y,
                              b.z - e.z - c.ratio * (e.z - a.z) - c.offset.z};
            if (square(miss.x) + square(miss.y) + square(miss.z) <= square(c.tolerance)) continue;
            // The miss's derivatives by b, e and a: 1, −(1 + ratio), ratio.
            const double fb = mayMove(c.b) ? 1 : 0, fe = mayMove(c.e) ? -(1 + c.ratio) : 0,
                         fa = mayMove(c.a) ? c.ratio : 0;
            const double weight = square(fb) + square(fe) + square(fa);
            if (weight == 0) continue; // all its points held: nothing to move
            settled = false;
            const auto move = [&](Point3& p, uint32_t local, double by) {
                if (by == 0) return;
                const double s = by / weight;
                p = {p.x - s * miss.x, p.y - s * miss.y, p.z - s * miss.z};
                placed_[local] = 1;
            };
            move(b, c.b, fb);
            move(e, c.e, fe);
            move(a, c.a, fa);
        }
        if (settled) return;
    }
}

const std::vector<uint32_t>& LiveJoins::follow(Model& model, const std::vector<uint32_t>& moved) {
    if (!active()) return touched_;
    for (size_t l = 0; l < points_.size(); ++l)
        now_[l] = toExact(start_[l]);
    std::fill(moving_.begin(), moving_.end(), 0);
    std::fill(decided_.begin(), decided_.end(), 0);
    std::fill(placed_.begin(), placed_.end(), 0);
    std::vector<uint32_t> queue;
    for (uint32_t p : moved) {
        const auto found = local_.find(p);
        if (found == local_.end()) continue;
        const uint32_t l = found->second;
        moving_[l] = decided_[l] = 1;
        now_[l] = toExact(model.points[p]);
        for (uint32_t c : columnsOf_[l])
            queue.push_back(c);
    }
    // First nearest first: a pair is lined up from the points decided closest to what moved.
    for (size_t next = 0; next < queue.size(); ++next)
        settle(columns_[queue[next]], queue);
    solveTogether();
    // What an earlier call placed and this one did not goes back to the press.
    for (size_t l = 0; l < points_.size(); ++l) {
        if (moving_[l]) continue;
        if (placed_[l] && !wasTouched_[l]) {
            wasTouched_[l] = 1;
            touched_.push_back(points_[l]);
        }
        if (wasTouched_[l]) model.points[points_[l]] = placed_[l] ? toFloat(now_[l]) : start_[l];
    }
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
