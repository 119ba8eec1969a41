#include "editor/patch-copies.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "editor/float3-ops.h"
#include "editor/pasted-text.h"
#include "editor/size-tolerance.h"
#include "model/obj-format.h"

namespace {

std::unique_ptr<Model::Group> copyGroup(const Model::Group& group, const std::string& name) {
    if (const auto* symmetry = dynamic_cast<const Model::Symmetry*>(&group)) {
        auto copy = std::make_unique<Model::Symmetry>(name);
        copy->firstVector = symmetry->firstVector;
        copy->secondVector = symmetry->secondVector;
        copy->visible = symmetry->visible;
        return copy;
    }
    auto copy = std::make_unique<Model::Group>(name);
    copy->visible = group.visible;
    return copy;
}

// Appends a copy of each listed patch; each point a copy uses is made once by makePoint
// (which may instead name an existing point). Copies get group groupOf(original).
template <typename MakePoint, typename GroupOf>
size_t appendCopies(Model& model, const std::vector<size_t>& originals, MakePoint makePoint,
                    GroupOf groupOf, bool turnOver) {
    std::vector<int32_t> copyOf(model.points.size(), -1);
    std::vector<Model::Patch> made;
    for (size_t p : originals) {
        const Model::Patch& original = model.patches[p];
        Model::Patch copy;
        copy.alpha = original.alpha;
        copy.visible = original.visible;
        copy.group = groupOf(original.group);
        copy.selected = true;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                // A mirror image runs its columns the other way, so it faces outward.
                const int32_t i =
                    original.indices[static_cast<size_t>(4 * r + (turnOver ? 3 - c : c))];
                int32_t& to = copyOf[static_cast<size_t>(i)];
                if (to < 0) to = makePoint(i);
                copy.indices[static_cast<size_t>(4 * r + c)] = to;
            }
        made.push_back(copy);
    }
    for (Model::Patch& patch : model.patches)
        patch.selected = false;
    model.patches.insert(model.patches.end(), made.begin(), made.end());
    return made.size();
}

// Hidden patches stay as they are, selected or not: a command acts on what it shows.
std::vector<size_t> shownSelectedPatches(const Model& model) {
    std::vector<size_t> selected;
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (model.patches[p].selected && model.isShown(p)) selected.push_back(p);
    return selected;
}

float& component(vm::Float3& p, Axis axis) {
    return axis == Axis::Y ? p.y : axis == Axis::Z ? p.z : p.x;
}

// A name the model does not use: the same, or its stem with the first free number.
std::string freeName(const Model& model, const std::string& name) {
    bool taken = false;
    for (const auto& group : model.groups)
        taken = taken || group->name == name;
    if (!taken) return name;
    std::string stem = name;
    while (!stem.empty() && std::isdigit(static_cast<unsigned char>(stem.back())))
        stem.pop_back();
    if (stem.empty() || stem.back() != '_') stem += '_';
    return firstUnusedGroupName(model, stem);
}

} // namespace

size_t duplicateSelection(Model& model, vm::Float3 offset) {
    return appendCopies(
        model, shownSelectedPatches(model),
        [&](int32_t i) {
            model.points.push_back(f3::add(model.points[static_cast<size_t>(i)], offset));
            return static_cast<int32_t>(model.points.size() - 1);
        },
        [](int32_t group) { return group; }, false);
}

vm::Float3 duplicateOffset(const Model& model) {
    constexpr float kBesideFraction = 0.1f;
    return {kBesideFraction * extentOf(model, shownSelectedPatches(model)), 0, 0};
}

size_t mirrorSelection(Model& model, Axis axis, vm::Vec4 pivot) {
    vm::Float3 at{pivot.x, pivot.y, pivot.z};
    const float plane = component(at, axis);
    const std::vector<size_t> originals = shownSelectedPatches(model);
    const float extent = extentOf(model, originals);
    return appendCopies(
        model, originals,
        [&](int32_t i) {
            vm::Float3 p = model.points[static_cast<size_t>(i)];
            float& c = component(p, axis);
            if (onPlane(c - plane, extent)) return i; // joined on the plane
            c = 2 * plane - c;
            model.points.push_back(p);
            return static_cast<int32_t>(model.points.size() - 1);
        },
        [](int32_t group) { return group; }, true);
}

size_t makeSymmetriesReal(Model& model) {
    size_t made = 0;
    for (size_t g = 0; g < model.groups.size(); ++g) {
        if (!model.isSymmetry(static_cast<int>(g))) continue;
        std::vector<size_t> half;
        bool chosen = model.groups[g]->selected;
        for (size_t p = 0; p < model.patches.size(); ++p)
            if (model.patches[p].group == static_cast<int32_t>(g)) {
                half.push_back(p);
                chosen = chosen || model.patches[p].selected;
            }
        if (!chosen) continue;
        // The selection of the patches stays as it was; the mirror image is added to it.
        std::vector<bool> wasSelected;
        for (const Model::Patch& patch : model.patches)
            wasSelected.push_back(patch.selected);
        const float extent = extentOf(model, half);
        appendCopies(
            model, half,
            [&](int32_t i) {
                vm::Float3 p = model.points[static_cast<size_t>(i)];
                if (onPlane(p.x, extent)) return i;
                p.x = -p.x;
                model.points.push_back(p);
                return static_cast<int32_t>(model.points.size() - 1);
            },
            [](int32_t group) { return group; }, true);
        for (size_t p = 0; p < wasSelected.size(); ++p)
            model.patches[p].selected = wasSelected[p];
        auto plain = std::make_unique<Model::Group>(model.groups[g]->name);
        plain->selected = model.groups[g]->selected;
        plain->visible = model.groups[g]->visible;
        model.groups[g] = std::move(plain);
        ++made;
    }
    return made;
}

namespace {
// Point i of from in to: copied there the first time it is met (placeOf remembers where), so
// only the points the patches use come along and shared ones stay shared.
int32_t placeIn(std::vector<vm::Float3>& to, const std::vector<vm::Float3>& from,
                std::vector<int32_t>& placeOf, int32_t i) {
    int32_t& place = placeOf[static_cast<size_t>(i)];
    if (place < 0) {
        place = static_cast<int32_t>(to.size());
        to.push_back(from[static_cast<size_t>(i)]);
    }
    return place;
}
} // namespace

std::string selectionText(const Model& model) {
    Model part;
    std::vector<int32_t> groupOf(model.groups.size(), -1);
    // Shown patches only, as duplicate and mirror take them: a hidden one is not in view.
    for (const Model::Patch& patch : model.patches)
        if (patch.selected && model.isShown(patch) && patch.group >= 0 &&
            groupOf[static_cast<size_t>(patch.group)] < 0) {
            groupOf[static_cast<size_t>(patch.group)] = static_cast<int32_t>(part.groups.size());
            const Model::Group& group = *model.groups[static_cast<size_t>(patch.group)];
            part.groups.push_back(copyGroup(group, group.name));
        }
    std::vector<int32_t> pointOf(model.points.size(), -1);
    for (const Model::Patch& patch : model.patches) {
        if (!patch.selected || !model.isShown(patch)) continue;
        Model::Patch copy = patch;
        copy.selected = false;
        copy.group = patch.group >= 0 ? groupOf[static_cast<size_t>(patch.group)] : -1;
        for (int32_t& i : copy.indices)
            i = placeIn(part.points, model.points, pointOf, i);
        part.patches.push_back(copy);
    }
    return part.patches.empty() ? std::string{} : writeObj(part, WrittenDigits::Exact);
}

size_t pasteText(Model& model, std::string_view text, std::string& why) {
    Model part;
    why = cutTextReason(text);
    if (!why.empty()) return 0;
    const ObjResult read = readObj(text, part, nullptr);
    if (!read.ok() || read.partial() || part.patches.empty()) {
        why = "the clipboard holds no model text (" +
              (!read.ok()       ? read.reason
               : read.partial() ? read.stopMessage()
                                : std::string("it holds no patch")) +
              ")";
        return 0;
    }
    why = untypableValueReason(part);
    if (!why.empty()) return 0;
    const int32_t groupBase = static_cast<int32_t>(model.groups.size());
    for (const auto& group : part.groups)
        model.groups.push_back(copyGroup(*group, freeName(model, group->name)));
    for (Model::Patch& patch : model.patches)
        patch.selected = false;
    // Only the points the pasted patches use come along.
    std::vector<int32_t> pointOf(part.points.size(), -1);
    for (Model::Patch patch : part.patches) {
        for (int32_t& i : patch.indices)
            i = placeIn(model.points, part.points, pointOf, i);
        if (patch.group >= 0) patch.group += groupBase;
        patch.selected = true;
        model.patches.push_back(patch);
    }
    return part.patches.size();
}
