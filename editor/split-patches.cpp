#include "editor/split-patches.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <map>

#include "editor/float3-ops.h"
#include "editor/patch-sides.h"

namespace {

struct Cut {
    SplitDirection direction;
    float t;
};

// The patches a split cuts, each with its cut, in the order they were found.
class Strip {
  public:
    explicit Strip(size_t patches) : at_(patches, -1) {}
    const Cut* find(uint32_t patch) const {
        return at_[patch] < 0 ? nullptr : &cuts_[static_cast<size_t>(at_[patch])].second;
    }
    void add(uint32_t patch, Cut cut) {
        at_[patch] = static_cast<int32_t>(cuts_.size());
        cuts_.push_back({patch, cut});
    }
    const std::vector<std::pair<uint32_t, Cut>>& cuts() const { return cuts_; }

  private:
    std::vector<int32_t> at_;
    std::vector<std::pair<uint32_t, Cut>> cuts_;
};

bool cuts(SplitDirection direction, Side side) {
    // A cut at some u divides the curves that run along u: the top and bottom sides.
    return (direction == SplitDirection::U) == runsAlongU(side);
}

// The curve a0…a3 divided at t: its seven points, the middle one on the curve.
std::array<vm::Float3, 7> divide(const std::array<vm::Float3, 4>& a, float t) {
    const vm::Float3 b0 = f3::lerp(a[0], a[1], t), b1 = f3::lerp(a[1], a[2], t),
                     b2 = f3::lerp(a[2], a[3], t);
    const vm::Float3 c0 = f3::lerp(b0, b1, t), c1 = f3::lerp(b1, b2, t);
    return {a[0], b0, c0, f3::lerp(c0, c1, t), c1, b2, a[3]};
}

// Works out the strips from the patches: every patch's cut, or why it cannot be cut. A
// patch already in an earlier seed's strip is not a seed again.
bool findStrips(const Model& model, const std::vector<uint32_t>& seeds, Cut cut, Strip& strip,
                std::string& refusal) {
    const SideIndex index(model, false);
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    constexpr float kSameT = 1e-6f;
    for (uint32_t seed : seeds) {
        if (strip.find(seed)) continue;
        std::deque<uint32_t> work{seed};
        strip.add(seed, cut);
        while (!work.empty()) {
            const uint32_t p = work.front();
            work.pop_front();
            const Cut mine = *strip.find(p);
            for (Side side : kSides) {
                index.partners(model, {p, side}, partners, reversed);
                for (size_t k = 0; k < partners.size(); ++k) {
                    const SideRef other = partners[k];
                    const bool cutHere = cuts(mine.direction, side);
                    const Cut theirs{runsAlongU(other.side) ? SplitDirection::U : SplitDirection::V,
                                     reversed[k] ? 1 - mine.t : mine.t};
                    const Cut* known = strip.find(other.patch);
                    if (!known) {
                        if (!cutHere) continue; // joined along a side the cut leaves whole
                        strip.add(other.patch, theirs);
                        work.push_back(other.patch);
                        continue;
                    }
                    // Both in a strip: the side is cut on both or on neither, at one place.
                    const bool cutThere = cuts(known->direction, other.side);
                    if (cutHere != cutThere ||
                        (cutHere && std::fabs(known->t - theirs.t) > kSameT)) {
                        refusal = "patch " + std::to_string(other.patch) +
                                  " would be cut in two ways by the split of patch " +
                                  std::to_string(seed) + "'s strip";
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

} // namespace

size_t dropUnusedPoints(Model& model, std::vector<int32_t>* renumbered) {
    std::vector<int32_t> newIndex(model.points.size(), -1);
    for (const Model::Patch& patch : model.patches)
        for (int32_t i : patch.indices)
            if (i >= 0 && static_cast<size_t>(i) < newIndex.size())
                newIndex[static_cast<size_t>(i)] = 0;
    int32_t kept = 0;
    for (size_t i = 0; i < newIndex.size(); ++i)
        if (newIndex[i] == 0) {
            newIndex[i] = kept;
            model.points[static_cast<size_t>(kept++)] = model.points[i];
        }
    const size_t dropped = model.points.size() - static_cast<size_t>(kept);
    if (renumbered) *renumbered = newIndex;
    if (dropped == 0) return 0;
    model.points.resize(static_cast<size_t>(kept));
    for (Model::Patch& patch : model.patches)
        for (int32_t& i : patch.indices)
            i = newIndex[static_cast<size_t>(i)];
    return dropped;
}

SplitResult splitStrip(Model& model, uint32_t patch, SplitDirection direction, float t) {
    return splitPatches(model, {patch}, direction, t);
}

SplitResult splitPatches(Model& model, const std::vector<uint32_t>& patches,
                         SplitDirection direction, float t) {
    SplitResult result;
    const bool inside = std::all_of(patches.begin(), patches.end(),
                                    [&](uint32_t p) { return p < model.patches.size(); });
    std::vector<uint32_t> shown;
    if (inside)
        for (uint32_t p : patches)
            if (model.isShown(p)) shown.push_back(p);
    if (shown.empty() || !(t > 0 && t < 1) || !model.indicesValid()) {
        result.refusal = "nothing to split there";
        return result;
    }
    Strip strip(model.patches.size());
    if (!findStrips(model, shown, {direction, t}, strip, result.refusal)) return result;

    // A shared side's new points, made once: by its points in the order the cut was worked
    // out for the first patch that meets it, with the t it was cut at there.
    std::map<std::array<int32_t, 4>, std::array<int32_t, 5>> sideCuts;
    for (const auto& [p, cut] : strip.cuts()) {
        const Model::Patch original = model.patches[p];
        Model::Patch a = original, b = original;
        for (int line = 0; line < 4; ++line) {
            // The line of four points the cut divides: a row for U, a column for V.
            std::array<int32_t, 4> ids;
            std::array<vm::Float3, 4> at;
            for (int k = 0; k < 4; ++k) {
                const int n = cut.direction == SplitDirection::U ? 4 * line + k : 4 * k + line;
                ids[static_cast<size_t>(k)] = original.indices[static_cast<size_t>(n)];
                at[static_cast<size_t>(k)] =
                    model.points[static_cast<size_t>(ids[static_cast<size_t>(k)])];
            }
            const std::array<vm::Float3, 7> d = divide(at, cut.t);
            std::array<int32_t, 7> made{ids[0], -1, -1, -1, -1, -1, ids[3]};
            const bool side = line == 0 || line == 3;
            std::array<int32_t, 4> backwards = ids;
            std::reverse(backwards.begin(), backwards.end());
            if (std::all_of(ids.begin(), ids.end(), [&](int32_t i) { return i == ids[0]; })) {
                made.fill(ids[0]); // a pole: its halves end in the same one point
            } else if (side && sideCuts.count(ids)) {
                const auto& known = sideCuts[ids];
                std::copy(known.begin(), known.end(), made.begin() + 1);
            } else if (side && sideCuts.count(backwards)) {
                const auto& known = sideCuts[backwards];
                std::reverse_copy(known.begin(), known.end(), made.begin() + 1);
            } else {
                for (int k = 1; k <= 5; ++k) {
                    made[static_cast<size_t>(k)] = static_cast<int32_t>(model.points.size());
                    model.points.push_back(d[static_cast<size_t>(k)]);
                }
                if (side) sideCuts[ids] = {made[1], made[2], made[3], made[4], made[5]};
            }
            for (int k = 0; k < 4; ++k) {
                const int n = cut.direction == SplitDirection::U ? 4 * line + k : 4 * k + line;
                a.indices[static_cast<size_t>(n)] = made[static_cast<size_t>(k)];
                b.indices[static_cast<size_t>(n)] = made[static_cast<size_t>(k + 3)];
            }
        }
        model.patches[p] = a;
        result.strip.push_back(p);
        result.halves.push_back(static_cast<uint32_t>(model.patches.size()));
        model.patches.push_back(b);
        ++result.patches;
    }
    dropUnusedPoints(model, &result.renumbered);
    return result;
}

SplitResult splitIntoFour(Model& model, const std::vector<uint32_t>& patches, float u, float v) {
    // The second cut may be refused after the first was made: then neither stays.
    const std::vector<vm::Float3> points = model.points;
    const std::vector<Model::Patch> before = model.patches;
    SplitResult first = splitPatches(model, patches, SplitDirection::U, u);
    if (!first.refusal.empty()) return first;
    // Each first half's strip across v takes its second half along.
    SplitResult second = splitPatches(model, patches, SplitDirection::V, v);
    if (!second.refusal.empty()) {
        model.points = points;
        model.patches = before;
        return second;
    }
    for (int32_t& i : first.renumbered)
        if (i >= 0) i = second.renumbered[static_cast<size_t>(i)];
    second.renumbered = std::move(first.renumbered);
    second.patches += first.patches;
    second.halves.insert(second.halves.end(), first.halves.begin(), first.halves.end());
    second.strip.insert(second.strip.end(), first.strip.begin(), first.strip.end());
    return second;
}
