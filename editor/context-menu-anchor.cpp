#include "editor/context-menu-anchor.h"

#include <algorithm>
#include <cmath>

namespace {

// The box of the points named; false when none are.
template <typename Points>
bool boxOf(const Model& model, const Points& points, vm::Float3& low, vm::Float3& high) {
    bool any = false;
    for (const auto index : points) {
        const vm::Float3& p = model.points[index];
        if (!any) {
            low = high = p;
            any = true;
            continue;
        }
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return any;
}

bool selectedPatchesBox(const Model& model, vm::Float3& low, vm::Float3& high) {
    bool any = false;
    for (const auto& patch : model.patches) {
        if (!patch.selected || !patch.visible) continue;
        vm::Float3 a, b;
        if (!boxOf(model, patch.indices, a, b)) continue;
        if (!any) {
            low = a, high = b;
            any = true;
            continue;
        }
        low = {std::min(low.x, a.x), std::min(low.y, a.y), std::min(low.z, a.z)};
        high = {std::max(high.x, b.x), std::max(high.y, b.y), std::max(high.z, b.z)};
    }
    return any;
}

} // namespace

std::optional<ScreenPoint> contextMenuAnchor(const Model& model, const PointSelection& chosen,
                                             const vm::Mat4& worldViewProjection) {
    vm::Float3 low{}, high{};
    const bool found = chosen.empty() ? selectedPatchesBox(model, low, high)
                                      : boxOf(model, chosen.indices(), low, high);
    if (!found) return std::nullopt;
    const vm::Float3 middle = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    const vm::Vec4 clip = vm::transform({middle.x, middle.y, middle.z, 1}, worldViewProjection);
    if (!(clip.w > 0)) return std::nullopt;
    const ScreenPoint at = {clip.x / clip.w, clip.y / clip.w};
    if (!std::isfinite(at.x) || !std::isfinite(at.y) || std::abs(at.x) > 1 || std::abs(at.y) > 1)
        return std::nullopt;
    return at;
}
