#include "editor/extrude-edges.h"

#include <algorithm>
#include <map>
#include <utility>

#include "editor/float3-ops.h"
#include "editor/patch-sides.h"

namespace {

bool allChosen(const std::array<int32_t, 4>& points, const std::vector<uint8_t>& chosen) {
    for (int32_t i : points)
        if (i < 0 || static_cast<size_t>(i) >= chosen.size() || !chosen[static_cast<size_t>(i)])
            return false;
    return true;
}

// The unit direction the surface leaves the edge point e by (away from n, the point next
// to it inside), and how far the patch reaches from e to f on its far side. False when the
// net collapses there.
bool outward(vm::Float3 e, vm::Float3 n, vm::Float3 f, vm::Float3& unit, float& reach) {
    constexpr float kTiny = 1e-12f;
    vm::Float3 d = f3::sub(e, n);
    if (f3::dot(d, d) < kTiny) d = f3::sub(e, f);
    const float size = f3::length(d);
    reach = f3::length(f3::sub(f, e));
    if (size * size < kTiny || reach * reach < kTiny) return false;
    unit = f3::scale(d, 1 / size);
    return true;
}

} // namespace

ExtrudeResult extrudeEdges(Model& model, const std::vector<uint8_t>& chosen) {
    ExtrudeResult result;
    // Only sides with every point chosen can be grown, or be the partner of one.
    const SideIndex sides(model, true, &chosen);
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    // New rows by (edge point, the point inside it): patches side by side share the
    // column they meet on, so they share its new points too.
    std::map<std::pair<int32_t, int32_t>, int32_t> grown;
    std::vector<Model::Patch> made;
    const size_t patchCount = model.patches.size();
    for (size_t p = 0; p < patchCount; ++p) {
        if (!model.isShown(p)) continue;
        for (Side side : kSides) {
            const Model::Patch& patch = model.patches[p];
            if (!allChosen(sidePoints(patch, side), chosen)) continue;
            sides.partners(model, {static_cast<uint32_t>(p), side}, partners, reversed);
            // Joined to another shown patch, or a pole (which joins none): not free.
            if (!partners.empty() || collapsedSide(model, patch, side)) continue;
            // Each column's new rows, worked out before any point is made: a collapsed
            // column leaves the side as it was.
            vm::Float3 from[4], unit[4];
            float reach[4] = {};
            int32_t edge[4], inside[4];
            bool collapsed = false;
            for (int k = 0; k < 4; ++k) {
                auto at = [&](int in) {
                    return patch.indices[static_cast<size_t>(netIndex(side, k, in))];
                };
                edge[k] = at(0);
                inside[k] = at(1);
                from[k] = model.points[static_cast<size_t>(edge[k])];
                if (!grown.count({edge[k], inside[k]}) &&
                    !outward(from[k], model.points[static_cast<size_t>(inside[k])],
                             model.points[static_cast<size_t>(at(3))], unit[k], reach[k]))
                    collapsed = true;
            }
            if (collapsed) continue;
            Model::Patch next;
            next.group = patch.group;
            next.alpha = patch.alpha;
            next.selected = true;
            const Side joined = opposite(side); // the new patch's side on the edge
            for (int k = 0; k < 4; ++k) {
                auto [at, fresh] = grown.try_emplace({edge[k], inside[k]},
                                                     static_cast<int32_t>(model.points.size()));
                if (fresh)
                    for (int r = 1; r <= 3; ++r)
                        model.points.push_back(
                            f3::add(from[k], f3::scale(unit[k], reach[k] * float(r) / 3)));
                next.indices[static_cast<size_t>(netIndex(joined, k, 0))] = edge[k];
                for (int r = 1; r <= 3; ++r)
                    next.indices[static_cast<size_t>(netIndex(joined, k, r))] = at->second + r - 1;
                result.farPoints.push_back(static_cast<uint32_t>(
                    next.indices[static_cast<size_t>(netIndex(joined, k, 3))]));
            }
            made.push_back(next);
            ++result.edges;
        }
    }
    if (made.empty()) return result;
    for (Model::Patch& patch : model.patches)
        patch.selected = false;
    model.patches.insert(model.patches.end(), made.begin(), made.end());
    std::sort(result.farPoints.begin(), result.farPoints.end());
    result.farPoints.erase(std::unique(result.farPoints.begin(), result.farPoints.end()),
                           result.farPoints.end());
    return result;
}
