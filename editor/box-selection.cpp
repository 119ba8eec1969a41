#include "editor/box-selection.h"

#include <algorithm>

std::vector<uint8_t> poolPointsInBox(const Model& model, const vm::Mat4& worldViewProjection,
                                     ScreenBox box) {
    const float left = std::min(box.x0, box.x1), right = std::max(box.x0, box.x1);
    const float bottom = std::min(box.y0, box.y1), top = std::max(box.y0, box.y1);
    std::vector<uint8_t> inside(model.points.size());
    const vm::Mat4& m = worldViewProjection;
    for (size_t i = 0; i < model.points.size(); ++i) {
        const vm::Float3& p = model.points[i];
        const float w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
        if (!(w > 0)) continue;
        const float x = (p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0]) / w;
        const float y = (p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1]) / w;
        inside[i] = x >= left && x <= right && y >= bottom && y <= top;
    }
    return inside;
}

std::vector<uint32_t> patchesInBox(const Model& model, const vm::Mat4& worldViewProjection,
                                   ScreenBox box) {
    // Inside or not, per pool point, computed once: neighbouring patches share their edges.
    const std::vector<uint8_t> inside = poolPointsInBox(model, worldViewProjection, box);
    std::vector<uint32_t> chosen;
    for (size_t k = 0; k < model.patches.size(); ++k) {
        const Model::Patch& patch = model.patches[k];
        if (!model.isShown(patch)) continue;
        bool all = true;
        for (int32_t index : patch.indices)
            if (index < 0 || static_cast<size_t>(index) >= inside.size() ||
                !inside[static_cast<size_t>(index)]) {
                all = false;
                break;
            }
        if (all) chosen.push_back(static_cast<uint32_t>(k));
    }
    return chosen;
}

void selectBox(Model& model, const std::vector<uint32_t>& patches, ClickModifiers modifiers) {
    if (!modifiers.control && !modifiers.shift) {
        for (Model::Patch& p : model.patches)
            p.selected = false;
        for (auto& g : model.groups)
            g->selected = false;
    }
    for (uint32_t k : patches) {
        if (k >= model.patches.size()) continue;
        bool& selected = model.patches[k].selected;
        selected = modifiers.control ? !selected : true;
    }
}
