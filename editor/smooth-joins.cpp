#include "editor/smooth-joins.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/parallel-ranges.h"
#include "editor/float3-ops.h"
#include "editor/join-rows.h"
#include "editor/side-partners.h"

namespace {

// Sweeps end when no point moved more than this share of its patches' size.
constexpr int kMaxSweeps = 60;
constexpr float kSettledShare = 1e-5f;
// Sweeps stop too after this many in a row whose largest move was not below this share of
// the least so far.
constexpr int kStalledSweeps = 3;
constexpr float kStalledShare = 0.9f;
// A join counts as worse past this many degrees more than before (the measure's own noise).
constexpr float kWorseSlack = 0.01f;
// Per-point marks reach one past the largest point marked: a selection early in a large pool
// asks for little memory, and a point past the end is unmarked.
bool marked(const std::vector<uint8_t>& marks, int32_t i) {
    return static_cast<size_t>(i) < marks.size() && marks[static_cast<size_t>(i)] != 0;
}
size_t endOf(const std::vector<uint8_t>& patches, const Model& model) {
    size_t end = 0;
    for (size_t p = 0; p < patches.size(); ++p)
        if (patches[p])
            for (int32_t i : model.patches[p].indices)
                end = std::max(end, static_cast<size_t>(i) + 1);
    return end;
}

// The shown patches using a point of a shown selected patch, and their points: every side T
// asks about (the selected patches' and those of the patches around them that it may
// change) lies within those.
void aroundSelection(const Model& model, std::vector<uint8_t>& around,
                     std::vector<uint8_t>& within) {
    std::vector<uint8_t> chosen(model.patches.size());
    for (size_t p = 0; p < model.patches.size(); ++p)
        chosen[p] = model.patches[p].selected && model.isShown(p);
    std::vector<uint8_t> selected(endOf(chosen, model));
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (chosen[p])
            for (int32_t i : model.patches[p].indices)
                selected[static_cast<size_t>(i)] = 1;
    around.assign(model.patches.size(), 0);
    inParallelRanges(model.patches.size(), [&](size_t from, size_t to) {
        for (size_t p = from; p < to; ++p) {
            const auto& indices = model.patches[p].indices;
            around[p] =
                model.isShown(p) && std::any_of(indices.begin(), indices.end(),
                                                [&](int32_t i) { return marked(selected, i); });
        }
    });
    within.assign(endOf(around, model), 0);
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (around[p])
            for (int32_t i : model.patches[p].indices)
                within[static_cast<size_t>(i)] = 1;
}

// Patch sizes, each worked out once: a patch has up to four joins.
class PatchSizes {
  public:
    explicit PatchSizes(const Model& model) : model_(model), sizes_(model.patches.size(), -1) {}
    float of(uint32_t p) {
        if (sizes_[p] < 0) sizes_[p] = patchSize(model_, model_.patches[p]);
        return sizes_[p];
    }
    RowJoin join(const SharedEdge& edge) {
        return sharedJoin(model_, edge, std::max(of(edge.a.patch), of(edge.b.patch)));
    }

  private:
    const Model& model_;
    std::vector<float> sizes_;
};

// The points of every shared side, pole and mirror-plane side of the patches touching the
// points that may move: T never moves them.
std::vector<uint8_t> heldPoints(const Model& model, const SidePartners& partners,
                                const std::vector<SideRef>& mirrorSides,
                                const std::vector<uint8_t>& touching, size_t rowsEnd) {
    std::vector<uint8_t> held(rowsEnd); // further points are in no selected join's rows
    const auto hold = [&](const Model::Patch& patch, Side side) {
        for (int32_t i : sidePoints(patch, side))
            if (static_cast<size_t>(i) < held.size()) held[static_cast<size_t>(i)] = 1;
    };
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!touching[p] || !model.isShown(p)) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            if (partners.pole(of) || !partners.of(of).empty()) hold(model.patches[p], side);
        }
    }
    for (SideRef side : mirrorSides)
        hold(model.patches[side.patch], side.side);
    return held;
}

// The selected joins: between two selected patches (each pair once, as sharedEdges gives
// them), and selected symmetry patches' joins across the mirror plane.
std::vector<RowJoin> selectedJoinList(const Model& model, const std::vector<SideRef>& mirrorSides,
                                      const SidePartners& partners, PatchSizes& sizes) {
    std::vector<RowJoin> joins;
    joins.reserve(partners.count() + mirrorSides.size()); // the watched ones too
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!model.isShown(p) || !model.patches[p].selected) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            for (const SidePartner& partner : partners.of(of)) {
                const SideRef other = partner.side;
                if (!model.patches[other.patch].selected || other.patch < of.patch) continue;
                // A patch closed on itself: its seam from its lower side.
                if (other.patch == of.patch && other.side < of.side) continue;
                joins.push_back(sizes.join({of, other, partner.reversed}));
            }
        }
    }
    for (SideRef side : mirrorSides)
        if (model.patches[side.patch].selected) joins.push_back(mirrorJoin(model, side));
    for (RowJoin& j : joins)
        j.selected = true;
    return joins;
}

// One past the largest point of the selected joins' rows.
size_t rowsEndOf(const std::vector<RowJoin>& joins) {
    size_t end = 0;
    for (const RowJoin& j : joins)
        for (int k = 0; k < 4; ++k)
            end = std::max({end, static_cast<size_t>(j.a[k]) + 1, static_cast<size_t>(j.b[k]) + 1});
    return end;
}

// The shown patches using a point of the selected joins' rows (all that T can change). The
// rows are the selected patches', so only the patches around the selection are looked at.
std::vector<uint8_t> touchingPatches(const Model& model, const std::vector<RowJoin>& joins,
                                     size_t rowsEnd, const std::vector<uint8_t>& around) {
    std::vector<uint8_t> rows(rowsEnd);
    for (const RowJoin& j : joins)
        for (int k = 0; k < 4; ++k)
            rows[static_cast<size_t>(j.a[k])] = rows[static_cast<size_t>(j.b[k])] = 1;
    std::vector<uint8_t> touching(model.patches.size());
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!around[p]) continue;
        const auto& indices = model.patches[p].indices;
        touching[p] =
            std::any_of(indices.begin(), indices.end(), [&](int32_t i) { return marked(rows, i); });
    }
    return touching;
}

// Every other join whose rows next to the edge hold a point that may move: watched so that
// none ends worse. Each once: from the first of its sides that has a point that may move.
void watchOthers(const Model& model, const SidePartners& partners,
                 const std::vector<SideRef>& mirrorSides, const std::vector<uint8_t>& touching,
                 const std::vector<uint8_t>& movable, PatchSizes& sizes,
                 std::vector<RowJoin>& joins) {
    const auto touches = [&](SideRef side) {
        for (int k = 0; k < 4; ++k)
            if (marked(movable, netPoint(model.patches[side.patch], side.side, k, 1))) return true;
        return false;
    };
    const auto earlier = [](SideRef a, SideRef b) {
        return a.patch != b.patch ? a.patch < b.patch : a.side < b.side;
    };
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!touching[p] || !model.isShown(p)) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            if (!touches(of)) continue;
            for (const SidePartner& partner : partners.of(of)) {
                const SideRef other = partner.side;
                if (model.patches[p].selected && model.patches[other.patch].selected)
                    continue; // a selected join
                if (earlier(other, of) && touching[other.patch] && touches(other)) continue;
                joins.push_back(sizes.join({of, other, partner.reversed}));
            }
        }
    }
    for (SideRef side : mirrorSides)
        if (!model.patches[side.patch].selected && touches(side))
            joins.push_back(mirrorJoin(model, side));
}

struct Saved {
    uint32_t point;
    vm::Float3 at;
};

// By pool index, where a point that may move keeps its original (-1 for none); held up to the
// last such point only, so a selection early in a large pool asks for little memory.
class SavedSlots {
  public:
    explicit SavedSlots(const std::vector<uint32_t>& points)
        : slots_(points.empty() ? 0 : points.back() + size_t{1}, -1) {
        for (size_t k = 0; k < points.size(); ++k)
            slots_[points[k]] = static_cast<int32_t>(k);
    }
    int32_t of(int32_t i) const {
        return static_cast<size_t>(i) < slots_.size() ? slots_[static_cast<size_t>(i)] : -1;
    }

  private:
    std::vector<int32_t> slots_;
};

std::vector<Saved> save(const Model& model, const std::vector<uint32_t>& points) {
    std::vector<Saved> saved;
    saved.reserve(points.size());
    for (uint32_t i : points)
        saved.push_back({i, model.points[i]});
    return saved;
}

void restore(Model& model, const std::vector<Saved>& saved) {
    for (const Saved& s : saved)
        model.points[s.point] = s.at;
}

// An angle's floor taken for the angle's own distance past this many degrees: the floor and
// the full measure compare the same samples' sines in floats, a few steps of rounding apart.
// Up to kFloorTrusted degrees only, where the sine still grows fast enough with the angle.
constexpr float kFloorRounding = 1e-3f;
constexpr float kFloorTrusted = 60.0f;
// Joins are measured on both cores from this many on.
constexpr size_t kParallelJoins = 4096;

bool same(vm::Float3 a, vm::Float3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Whether a point of either patch of the join moved: its angle reads those patches alone (the
// rows beside the edge, the whole net where those give no normal).
template <typename Moved> bool patchesMoved(const Model& model, const RowJoin& j, Moved moved) {
    for (uint32_t p : {j.edge.a.patch, j.edge.b.patch})
        for (int32_t i : model.patches[p].indices)
            if (moved(i)) return true;
    return false;
}

// The join's angle with the points of its patches as they were (and back as they are).
float angleBefore(Model& model, const RowJoin& j, const std::vector<Saved>& original,
                  const SavedSlots& savedAt) {
    std::vector<Saved> now;
    for (uint32_t p : {j.edge.a.patch, j.edge.b.patch})
        for (int32_t i : model.patches[p].indices)
            if (savedAt.of(i) >= 0) {
                now.push_back({static_cast<uint32_t>(i), model.points[static_cast<size_t>(i)]});
                model.points[static_cast<size_t>(i)] =
                    original[static_cast<size_t>(savedAt.of(i))].at;
            }
    const float angle = angleOf(model, j);
    for (auto s = now.rbegin(); s != now.rend(); ++s)
        model.points[s->point] = s->at;
    return angle;
}

// Whether the join ends worse than it was; a floor of its angle before is measured in full
// only when the floor alone cannot tell.
bool worse(Model& model, RowJoin& j, const std::vector<Saved>& original,
           const SavedSlots& savedAt) {
    if (j.after <= j.before + kWorseSlack - (j.beforeFloor ? kFloorRounding : 0)) return false;
    if (j.beforeFloor) {
        j.before = angleBefore(model, j, original, savedAt);
        j.beforeFloor = false;
    }
    return j.after > j.before + kWorseSlack;
}

// Joins left worse than they were get their rows back as they were, until none is; only the
// joins whose patches had a point put back are measured again.
void undoWorse(Model& model, std::vector<RowJoin>& joins, const std::vector<uint8_t>& movable,
               const std::vector<Saved>& original, const SavedSlots& savedAt) {
    std::vector<uint8_t> putBack(original.size());
    for (size_t round = 0; round <= joins.size(); ++round) {
        bool restored = false;
        for (RowJoin& j : joins) {
            if (!worse(model, j, original, savedAt)) continue;
            for (int k = 0; k < 4; ++k)
                for (int32_t i : {j.a[k], j.b[k]})
                    if (marked(movable, i)) {
                        const size_t at = static_cast<size_t>(savedAt.of(i));
                        const Saved& s = original[at];
                        if (!same(model.points[s.point], s.at)) {
                            putBack[at] = 1;
                            restored = true;
                        }
                        model.points[s.point] = s.at;
                    }
        }
        if (!restored) return;
        for (RowJoin& j : joins)
            if (patchesMoved(model, j, [&](int32_t i) {
                    const int32_t at = savedAt.of(i);
                    return at >= 0 && putBack[static_cast<size_t>(at)];
                }))
                j.after = angleOf(model, j);
        std::fill(putBack.begin(), putBack.end(), 0);
    }
}

// Every join's angle after the sweeps and before them. Joins whose patches kept their points
// are measured once; a join within kWorseSlack now cannot have been better, and of the others
// a floor of the angle before is enough where it shows the join no worse.
void measureBeforeAndAfter(Model& model, std::vector<RowJoin>& joins,
                           const std::vector<uint32_t>& points, const std::vector<Saved>& original,
                           const SavedSlots& savedAt) {
    std::vector<uint8_t> changed(joins.size());
    const auto movedNow = [&](int32_t i) {
        const int32_t at = savedAt.of(i);
        return at >= 0 &&
               !same(model.points[static_cast<size_t>(i)], original[static_cast<size_t>(at)].at);
    };
    inParallelRanges(
        joins.size(),
        [&](size_t from, size_t to) {
            for (size_t k = from; k < to; ++k) {
                RowJoin& j = joins[k];
                changed[k] = patchesMoved(model, j, movedNow);
                j.after = angleOf(model, j);
                j.before = changed[k] || j.after <= kWorseSlack ? 0 : j.after;
            }
        },
        kParallelJoins);
    const std::vector<Saved> now = save(model, points);
    restore(model, original);
    inParallelRanges(
        joins.size(),
        [&](size_t from, size_t to) {
            for (size_t k = from; k < to; ++k) {
                RowJoin& j = joins[k];
                if (!changed[k] || j.after <= kWorseSlack) continue;
                j.before = angleFloorOf(model, j);
                j.beforeFloor =
                    j.before < kFloorTrusted && j.after <= j.before + kWorseSlack - kFloorRounding;
                if (!j.beforeFloor) j.before = angleOf(model, j);
            }
        },
        kParallelJoins);
    restore(model, now);
}

} // namespace

const char* joinTroubleText(JoinTrouble trouble) {
    switch (trouble) {
    case JoinTrouble::HeldCorner:
        return "the corner points are held by the neighbouring edge";
    case JoinTrouble::Collapsed:
        return "collapsed side";
    case JoinTrouble::FoldsBack:
        return "the patches fold back on each other";
    case JoinTrouble::Pulled:
        break;
    }
    return "the joins around it pull against it";
}

size_t SmoothResult::roughFor(JoinTrouble why) const {
    return static_cast<size_t>(std::count_if(rough.begin(), rough.end(),
                                             [&](const RoughJoin& r) { return r.why == why; }));
}

JoinNeighbourhood joinNeighbourhood(const Model& model) {
    std::vector<uint8_t> around, within;
    aroundSelection(model, around, within);
    SidePartners partners(model, SideIndex(model, true, &within), around);
    return {mirrorPlaneSides(model), std::move(around), std::move(partners)};
}

std::vector<SharedEdge> selectedSharedEdges(const Model& model, const JoinNeighbourhood& near) {
    std::vector<SharedEdge> edges;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!model.isShown(p) || !model.patches[p].selected) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            for (const SidePartner& partner : near.partners.of(of)) {
                const SideRef other = partner.side;
                // As selectedJoinList: each pair once, a seam from its patch's lower side.
                if (!model.patches[other.patch].selected || other.patch < of.patch) continue;
                if (other.patch == of.patch && other.side < of.side) continue;
                edges.push_back({of, other, partner.reversed});
            }
        }
    }
    return edges;
}

SmoothResult smoothSelectedJoins(Model& model) {
    if (!model.indicesValid()) return {};
    return smoothSelectedJoins(model, joinNeighbourhood(model));
}

SmoothResult smoothSelectedJoins(Model& model, const JoinNeighbourhood& near) {
    SmoothResult result;
    if (!model.indicesValid()) return result;
    const std::vector<SideRef>& mirrorSides = near.mirrorSides;
    const SidePartners& partners = near.partners;
    PatchSizes sizes(model);
    std::vector<RowJoin> joins = selectedJoinList(model, mirrorSides, partners, sizes);
    const size_t rowsEnd = rowsEndOf(joins);
    const std::vector<uint8_t> touching = touchingPatches(model, joins, rowsEnd, near.around);
    const std::vector<uint8_t> held = heldPoints(model, partners, mirrorSides, touching, rowsEnd);
    std::vector<uint8_t> movable(rowsEnd);
    for (const RowJoin& j : joins)
        for (int k = 0; k < 4; ++k)
            for (int32_t i : {j.a[k], j.b[k]})
                if (!held[static_cast<size_t>(i)]) movable[static_cast<size_t>(i)] = 1;
    watchOthers(model, partners, mirrorSides, touching, movable, sizes, joins);
    std::vector<uint32_t> points; // ascending
    for (size_t i = 0; i < movable.size(); ++i)
        if (movable[i]) points.push_back(static_cast<uint32_t>(i));
    const SavedSlots savedAt(points);
    const std::vector<Saved> original = save(model, points);

    // Each sweep lines every selected join up in turn; a point two joins share (the one
    // inside a corner) settles where both agree. Sweeps stop once the points settle.
    // Points pulled two ways by joins that cannot both be met may circle instead: sweeps
    // that no longer settle them stop too (undoWorse then answers for the result).
    float leastMoved = INFINITY;
    for (int sweep = 0, stalled = 0; sweep < kMaxSweeps && stalled < kStalledSweeps; ++sweep) {
        float moved = 0;
        for (RowJoin& j : joins)
            if (j.selected)
                moved = std::max(moved, j.mirror ? solveMirror(model, j, held)
                                                 : solveShared(model, j, held));
        if (moved <= kSettledShare) break;
        stalled = moved > kStalledShare * leastMoved ? stalled + 1 : 0;
        leastMoved = std::min(leastMoved, moved);
    }
    measureBeforeAndAfter(model, joins, points, original, savedAt);
    undoWorse(model, joins, movable, original, savedAt);

    result.rough.reserve(
        static_cast<size_t>(std::count_if(joins.begin(), joins.end(), [](const RowJoin& j) {
            return j.selected && j.after >= kSmoothJoin;
        })));
    for (const RowJoin& j : joins) {
        if (!j.selected) continue;
        ++result.joins;
        result.largest = std::max(result.largest, j.after);
        if (j.after < kSmoothJoin) continue;
        const JoinTrouble why = j.collapsed    ? JoinTrouble::Collapsed
                                : j.folds      ? JoinTrouble::FoldsBack
                                : j.heldCorner ? JoinTrouble::HeldCorner
                                               : JoinTrouble::Pulled;
        result.rough.push_back({j.edge, j.mirror, j.after, why});
    }
    return result;
}

std::string smoothResultText(const SmoothResult& result) {
    char text[160];
    std::snprintf(text, sizeof text, "smoothed %zu joins; largest angle now %.2f\xB0",
                  result.joins - result.rough.size(), static_cast<double>(result.largest));
    std::string said = text;
    if (result.rough.empty()) return said;
    said += "; " + std::to_string(result.rough.size()) + " could not be made smooth:";
    const char* separator = " ";
    for (size_t why = 0; why < kJoinTroubles; ++why)
        if (const size_t count = result.roughFor(static_cast<JoinTrouble>(why))) {
            said += separator;
            said += joinTroubleText(static_cast<JoinTrouble>(why));
            said += " (" + std::to_string(count) + ")";
            separator = ", ";
        }
    return said;
}
