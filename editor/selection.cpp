#include "editor/selection.h"

#include <algorithm>

#include "core/selection-text.h"

namespace {

template <typename Flag> void applyClick(Model& model, int index, ClickModifiers m, Flag flagOf) {
    if (!m.control && !m.shift) {
        for (Model::Patch& p : model.patches)
            p.selected = false;
        for (auto& g : model.groups)
            g->selected = false;
    }
    if (index == -1) return;
    bool& flag = flagOf(index);
    flag = m.control ? !flag : true;
}

} // namespace

void selectPatch(Model& model, int index, ClickModifiers modifiers) {
    applyClick(model, index, modifiers,
               [&](int i) -> bool& { return model.patches[static_cast<size_t>(i)].selected; });
}

void selectGroup(Model& model, int index, ClickModifiers modifiers) {
    applyClick(model, index, modifiers,
               [&](int i) -> bool& { return model.groups[static_cast<size_t>(i)]->selected; });
}

vm::Vec4 selectAll(Model& model) {
    for (Model::Patch& p : model.patches)
        p.selected = true;
    vm::Vec4 min, max;
    if (!selectionBounds(model, min, max)) return {};
    return (min + max) * 0.5f;
}

namespace {

// Grows the box [min, max] to hold p; the first point (any still false) starts it.
void grow(vm::Vec4& min, vm::Vec4& max, bool& any, const vm::Float3& p) {
    if (!any) {
        min = max = {p.x, p.y, p.z, 0};
        any = true;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z), 0};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z), 0};
}

} // namespace

bool selectionBounds(const Model& model, vm::Vec4& min, vm::Vec4& max) {
    bool any = false;
    for (const Model::Patch& patch : model.patches) {
        if (!patch.selected) continue;
        for (int32_t index : patch.indices)
            grow(min, max, any, model.points[static_cast<size_t>(index)]);
    }
    return any;
}

bool frameBounds(const Model& model, vm::Vec4& min, vm::Vec4& max) {
    if (selectionBounds(model, min, max)) return true;
    bool any = false;
    auto take = [&](const vm::Float3& p) { grow(min, max, any, p); };
    for (const Model::Patch& patch : model.patches)
        if (model.isShown(patch))
            for (int32_t index : patch.indices)
                if (index >= 0 && static_cast<size_t>(index) < model.points.size())
                    take(model.points[static_cast<size_t>(index)]);
    if (!any)
        for (const vm::Float3& p : model.points)
            take(p);
    return any;
}

void setSelectionVisible(Model& model, bool visible, std::vector<int>& useCount) {
    for (auto& g : model.groups)
        if (g->selected) g->visible = visible;
    for (Model::Patch& p : model.patches)
        if (p.selected && (p.group < 0 || model.groups[static_cast<size_t>(p.group)]->visible))
            p.visible = visible;
    rebuildUseCount(model, useCount);
}

void rebuildUseCount(const Model& model, std::vector<int>& useCount) {
    useCount.assign(model.points.size(), 0);
    for (const Model::Patch& p : model.patches)
        if (model.isShown(p))
            for (int32_t index : p.indices)
                ++useCount[static_cast<size_t>(index)];
}

std::string selectedPatchesText(const Model& model, size_t maxLength) {
    std::vector<int> selected;
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (model.patches[i].selected) selected.push_back(static_cast<int>(i));
    return formatSelectedPatches(selected, maxLength);
}
