#include "editor/point-selection.h"

#include <algorithm>
#include <cfloat>

std::vector<uint32_t> PointSelection::indices(size_t most) const {
    std::vector<uint32_t> out;
    out.reserve(std::min(count_, most));
    for (size_t i = 0; i < chosen_.size() && out.size() < most; ++i)
        if (chosen_[i]) out.push_back(static_cast<uint32_t>(i));
    return out;
}

void PointSelection::clear() {
    chosen_.clear();
    count_ = 0;
}

void PointSelection::fit(size_t poolSize) {
    if (chosen_.size() != poolSize) {
        chosen_.assign(poolSize, 0);
        count_ = 0;
    }
}

void PointSelection::click(int point, ClickModifiers modifiers, size_t poolSize) {
    fit(poolSize);
    const bool inPool = point >= 0 && static_cast<size_t>(point) < poolSize;
    if (!modifiers.control && !modifiers.shift) {
        std::fill(chosen_.begin(), chosen_.end(), 0);
        count_ = 0;
    }
    if (!inPool) return;
    uint8_t& flag = chosen_[static_cast<size_t>(point)];
    const uint8_t now = modifiers.control ? !flag : 1;
    count_ += now - flag;
    flag = now;
}

void PointSelection::choose(const std::vector<uint32_t>& points, ClickModifiers modifiers,
                            size_t poolSize) {
    fit(poolSize);
    if (!modifiers.control && !modifiers.shift) {
        std::fill(chosen_.begin(), chosen_.end(), 0);
        count_ = 0;
    }
    for (uint32_t point : points) {
        if (point >= poolSize) continue;
        uint8_t& flag = chosen_[point];
        const uint8_t now = modifiers.control ? !flag : 1;
        count_ += now - flag;
        flag = now;
    }
}

namespace {

// Per pool point, whether a patch that passes `take` uses it.
template <typename Take> std::vector<uint8_t> usedBy(const Model& model, Take take) {
    std::vector<uint8_t> used(model.points.size());
    for (const Model::Patch& patch : model.patches)
        if (take(patch))
            for (int32_t index : patch.indices)
                if (index >= 0 && static_cast<size_t>(index) < used.size())
                    used[static_cast<size_t>(index)] = 1;
    return used;
}

std::vector<uint32_t> flagged(const std::vector<uint8_t>& flags) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < flags.size(); ++i)
        if (flags[i]) out.push_back(static_cast<uint32_t>(i));
    return out;
}

} // namespace

std::vector<uint32_t> pointsInBox(const Model& model, const vm::Mat4& worldViewProjection,
                                  ScreenBox box) {
    std::vector<uint8_t> inside = poolPointsInBox(model, worldViewProjection, box);
    const std::vector<uint8_t> shown =
        usedBy(model, [&](const Model::Patch& patch) { return model.isShown(patch); });
    for (size_t i = 0; i < inside.size(); ++i)
        inside[i] = inside[i] && shown[i];
    return flagged(inside);
}

std::vector<uint32_t> shownPoints(const Model& model) {
    return flagged(usedBy(model, [&](const Model::Patch& patch) { return model.isShown(patch); }));
}

std::vector<uint32_t> pointsOfSelectedPatches(const Model& model) {
    return flagged(usedBy(model, [](const Model::Patch& patch) { return patch.selected; }));
}

vm::Vec4 centreOf(const Model& model, const std::vector<uint32_t>& points) {
    vm::Float3 low{FLT_MAX, FLT_MAX, FLT_MAX}, high{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    bool any = false;
    for (uint32_t i : points) {
        if (i >= model.points.size()) continue;
        const vm::Float3& p = model.points[i];
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        any = true;
    }
    if (!any) return {0, 0, 0, 1};
    return {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2, 1};
}
