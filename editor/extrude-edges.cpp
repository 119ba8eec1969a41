#include "editor/extrude-edges.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <utility>

#include "editor/float3-ops.h"
#include "editor/patch-sides.h"
#include "editor/size-tolerance.h"

namespace {

bool allChosen(const std::array<int32_t, 4>& points, const std::vector<uint8_t>& chosen) {
    for (int32_t i : points)
        if (i < 0 || static_cast<size_t>(i) >= chosen.size() || !chosen[static_cast<size_t>(i)])
            return false;
    return true;
}

using ColumnKey = std::pair<int32_t, int32_t>; // (edge point, the point inside it)
using SideKey = std::array<int32_t, 4>;        // a side's points, in increasing order

SideKey sideKey(SideKey points) {
    std::sort(points.begin(), points.end());
    return points;
}

// One column of a side to grow: its edge point and where the new rows go from it.
struct Column {
    ColumnKey key;
    vm::Float3 from;  // the edge point
    vm::Float3 cross; // edge point less the point inside: the cross tangent, a third of it
    vm::Float3 unit;  // the way rows 2 and 3 run
    float reach = 0;  // how far the patch reaches from the edge point to its far side
};

struct Growth {
    const Model::Patch* patch = nullptr;
    Side side = Side::Top;
    float tolerance = 0; // points this close are at one place
    float none = 0;      // a length below this is none
    std::array<Column, 4> columns;
};

// The side's columns, or false when the net collapses there (nothing to run on along).
bool columnsOf(const Model& model, const Model::Patch& patch, Side side, Growth& growth) {
    const float extent = extentOf(model, patch);
    const float none = growth.none = kNoLengthFraction * extent;
    growth.tolerance = kCoincideFraction * extent;
    float crossSum = 0;
    for (int k = 0; k < 4; ++k) {
        auto at = [&](int in) { return patch.indices[static_cast<size_t>(netIndex(side, k, in))]; };
        auto point = [&](int in) { return model.points[static_cast<size_t>(at(in))]; };
        Column& column = growth.columns[static_cast<size_t>(k)];
        column.key = {at(0), at(1)};
        column.from = point(0);
        column.cross = f3::sub(column.from, point(1));
        const float crossLength = f3::length(column.cross);
        crossSum += crossLength;
        // Where the row inside meets the edge, the far row gives the way on.
        const vm::Float3 way = crossLength > none ? column.cross : f3::sub(column.from, point(3));
        const float wayLength = f3::length(way);
        column.reach = f3::length(f3::sub(point(3), column.from));
        if (wayLength <= none || column.reach <= none) return false;
        column.unit = f3::scale(way, 1 / wayLength);
    }
    return crossSum > none;
}

int32_t findChain(std::vector<int32_t>& chain, int32_t g) {
    while (chain[static_cast<size_t>(g)] != g)
        g = chain[static_cast<size_t>(g)] =
            chain[static_cast<size_t>(chain[static_cast<size_t>(g)])];
    return g;
}

// Where a row of a new column goes, before the ratio of lengths is known for rows 1.
vm::Float3 rowAt(const Column& column, int row) {
    return f3::add(column.from, f3::scale(column.unit, column.reach * float(row) / 3));
}

// A free side of a shown patch already there that leaves the column's edge point the way the
// column would: its three other points, and the ratio of lengths its second point gives (-1
// where the column has no cross tangent to measure it by).
struct ExistingColumn {
    std::array<int32_t, 3> rows{};
    float ratio = 0;
};

class ExistingSides {
  public:
    // The sides of shown patches that end at a flagged point.
    ExistingSides(const Model& model, const std::vector<uint8_t>& ends) {
        for (size_t p = 0; p < model.patches.size(); ++p) {
            if (!model.isShown(p)) continue;
            for (Side side : kSides) {
                const std::array<int32_t, 4> points = sidePoints(model.patches[p], side);
                for (int end : {0, 3}) {
                    const auto at = static_cast<size_t>(points[static_cast<size_t>(end)]);
                    if (at < ends.size() && ends[at]) {
                        std::array<int32_t, 4> out = points;
                        if (end == 3) std::reverse(out.begin(), out.end());
                        byCorner_.emplace(out[0], out);
                    }
                }
            }
        }
    }

    std::optional<ExistingColumn> find(const Model& model, const Column& column,
                                       const Growth& growth) const {
        const float tolerance = growth.tolerance;
        const auto [first, last] = byCorner_.equal_range(column.key.first);
        for (auto it = first; it != last; ++it) {
            const std::array<int32_t, 4>& side = it->second;
            auto point = [&](int k) { return model.points[static_cast<size_t>(side[k])]; };
            bool along = f3::length(f3::sub(point(2), rowAt(column, 2))) <= tolerance &&
                         f3::length(f3::sub(point(3), rowAt(column, 3))) <= tolerance;
            // Its second point on the line the cross tangent runs on, on the outer side.
            const vm::Float3 second = f3::sub(point(1), column.from);
            const float crossLength = f3::length(column.cross);
            const bool crossed = crossLength > growth.none;
            const float out = crossed ? f3::dot(second, column.cross) / crossLength : 0;
            const vm::Float3 off =
                crossed ? f3::sub(second, f3::scale(column.cross, out / crossLength)) : second;
            along = along && f3::length(off) <= tolerance && out >= 0;
            if (!along || sharedByAnother(side)) continue;
            ExistingColumn found;
            found.rows = {side[1], side[2], side[3]};
            found.ratio = crossed ? out / crossLength : -1;
            return found;
        }
        return std::nullopt;
    }

  private:
    // Whether another listed side has the same four points: then the side is not free.
    bool sharedByAnother(const std::array<int32_t, 4>& side) const {
        int same = 0;
        const auto [first, last] = byCorner_.equal_range(side[0]);
        for (auto it = first; it != last; ++it)
            same += it->second == side;
        return same > 1;
    }

    std::multimap<int32_t, std::array<int32_t, 4>> byCorner_;
};

// The free sides of shown patches with all four points chosen that can grow.
std::vector<Growth> sidesToGrow(const Model& model, const std::vector<uint8_t>& chosen) {
    std::vector<Growth> growths;
    // Only sides with every point chosen can be grown, or be the partner of one.
    const SideIndex sides(model, true, &chosen);
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!model.isShown(p)) continue;
        const Model::Patch& patch = model.patches[p];
        const bool symmetry = model.isSymmetry(patch.group);
        for (Side side : kSides) {
            const std::array<int32_t, 4> points = sidePoints(patch, side);
            if (!allChosen(points, chosen)) continue;
            sides.partners(model, {static_cast<uint32_t>(p), side}, partners, reversed);
            // Joined to another shown patch, or a pole (which joins none): not free.
            if (!partners.empty() || collapsedSide(model, patch, side)) continue;
            if (symmetry) { // on the mirror plane the patch joins its own mirror image
                const float extent = extentOf(model, patch);
                bool onMirror = true;
                for (int32_t i : points)
                    onMirror = onMirror && onPlane(model.points[static_cast<size_t>(i)].x, extent);
                if (onMirror) continue;
            }
            Growth growth;
            growth.patch = &patch;
            growth.side = side;
            if (columnsOf(model, patch, side, growth)) growths.push_back(growth);
        }
    }
    return growths;
}

// The columns that meet a free side of a patch already there, with its points; growths that
// would overlap another's patch are dropped.
std::map<ColumnKey, ExistingColumn> takeExistingColumns(const Model& model,
                                                        std::vector<Growth>& growths) {
    // A column that meets a free side of a patch already there (an earlier extrusion beside
    // this one) takes its points, and its chain the ratio that side was grown with.
    std::vector<uint8_t> corners(model.points.size());
    for (const Growth& growth : growths)
        for (int k : {0, 3})
            corners[static_cast<size_t>(growth.columns[static_cast<size_t>(k)].key.first)] = 1;
    const ExistingSides existing(model, corners);
    std::map<ColumnKey, ExistingColumn> reused;
    // Two free sides meeting in an inner corner would each grow a patch over the same place,
    // each taking the other's side as its column: the first fills the corner, joining both.
    std::set<SideKey> keptEdges, takenSides;
    std::vector<Growth> kept;
    for (Growth& growth : growths) {
        std::vector<std::pair<ColumnKey, ExistingColumn>> found;
        std::vector<SideKey> taken;
        for (int k : {0, 3}) {
            const Column& column = growth.columns[static_cast<size_t>(k)];
            if (const auto side = existing.find(model, column, growth)) {
                found.emplace_back(column.key, *side);
                taken.push_back(
                    sideKey({column.key.first, side->rows[0], side->rows[1], side->rows[2]}));
            }
        }
        const SideKey edge = sideKey(sidePoints(*growth.patch, growth.side));
        bool overlaps = takenSides.count(edge) > 0;
        for (const SideKey& side : taken)
            overlaps = overlaps || keptEdges.count(side) > 0;
        if (overlaps) continue;
        keptEdges.insert(edge);
        takenSides.insert(taken.begin(), taken.end());
        reused.insert(found.begin(), found.end());
        kept.push_back(growth);
    }
    growths.swap(kept);

    return reused;
}

// Each growth's ratio of lengths from its edge's cross tangent to its row next to the edge.
std::vector<float> ratiosOf(const std::vector<Growth>& growths,
                            const std::map<ColumnKey, ExistingColumn>& reused) {
    // Sides that meet on a column share it, so their rows next to the edge must keep one
    // ratio of lengths to the cross tangent between them: with one ratio along a side the two
    // cross tangents are parallel at every point of the edge. Chains of such sides take one.
    std::vector<int32_t> chain(growths.size());
    std::iota(chain.begin(), chain.end(), 0);
    std::map<ColumnKey, int32_t> firstWith;
    for (size_t g = 0; g < growths.size(); ++g)
        for (const Column& column : growths[g].columns) {
            const auto [at, fresh] = firstWith.try_emplace(column.key, static_cast<int32_t>(g));
            if (!fresh)
                chain[static_cast<size_t>(findChain(chain, static_cast<int32_t>(g)))] =
                    findChain(chain, at->second);
        }
    std::vector<float> ratio(growths.size(), -1), reachSum(growths.size()),
        crossSum(growths.size());
    for (size_t g = 0; g < growths.size(); ++g) {
        const auto c = static_cast<size_t>(findChain(chain, static_cast<int32_t>(g)));
        for (const Column& column : growths[g].columns) {
            if (firstWith.at(column.key) != static_cast<int32_t>(g)) continue; // counted once
            reachSum[c] += column.reach;
            crossSum[c] += f3::length(column.cross);
            const auto it = reused.find(column.key);
            if (it != reused.end() && ratio[c] < 0) ratio[c] = it->second.ratio; // -1: none
        }
    }
    for (size_t c = 0; c < growths.size(); ++c)
        if (ratio[c] < 0 && crossSum[c] > 0) ratio[c] = reachSum[c] / (3 * crossSum[c]);

    std::vector<float> ofGrowth(growths.size());
    for (size_t g = 0; g < growths.size(); ++g)
        ofGrowth[g] = ratio[static_cast<size_t>(findChain(chain, static_cast<int32_t>(g)))];
    return ofGrowth;
}

} // namespace

ExtrudeResult extrudeEdges(Model& model, const std::vector<uint8_t>& chosen) {
    ExtrudeResult result;
    std::vector<Growth> growths = sidesToGrow(model, chosen);
    if (growths.empty()) return result;
    const std::map<ColumnKey, ExistingColumn> reused = takeExistingColumns(model, growths);
    const std::vector<float> ratio = ratiosOf(growths, reused);

    std::map<ColumnKey, std::array<int32_t, 3>> grown;
    std::vector<Model::Patch> made;
    for (size_t g = 0; g < growths.size(); ++g) {
        const Growth& growth = growths[g];
        const float lengths = ratio[g];
        Model::Patch next;
        next.group = growth.patch->group;
        next.alpha = growth.patch->alpha;
        next.selected = true;
        const Side joined = opposite(growth.side); // the new patch's side on the edge
        for (int k = 0; k < 4; ++k) {
            const Column& column = growth.columns[static_cast<size_t>(k)];
            auto [at, fresh] = grown.try_emplace(column.key);
            if (fresh) {
                if (const auto it = reused.find(column.key); it != reused.end()) {
                    at->second = it->second.rows;
                } else {
                    const auto first = static_cast<int32_t>(model.points.size());
                    model.points.push_back(f3::add(column.from, f3::scale(column.cross, lengths)));
                    model.points.push_back(rowAt(column, 2));
                    model.points.push_back(rowAt(column, 3));
                    at->second = {first, first + 1, first + 2};
                }
            }
            next.indices[static_cast<size_t>(netIndex(joined, k, 0))] = column.key.first;
            for (int r = 1; r <= 3; ++r)
                next.indices[static_cast<size_t>(netIndex(joined, k, r))] =
                    at->second[static_cast<size_t>(r - 1)];
            result.farPoints.push_back(static_cast<uint32_t>(at->second[2]));
        }
        made.push_back(next);
        ++result.edges;
    }
    for (Model::Patch& patch : model.patches)
        patch.selected = false;
    model.patches.insert(model.patches.end(), made.begin(), made.end());
    std::sort(result.farPoints.begin(), result.farPoints.end());
    result.farPoints.erase(std::unique(result.farPoints.begin(), result.farPoints.end()),
                           result.farPoints.end());
    return result;
}

std::string extrudedText(size_t edges) {
    return "extruded " + std::to_string(edges) + (edges == 1 ? " side" : " sides") +
           ": the far rows are chosen, drag one with the select tool to move them";
}
