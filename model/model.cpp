#include "model/model.h"

#include <algorithm>

void Model::clear() {
    groups.clear();
    points.clear();
    patches.clear();
}

bool Model::isSymmetry(int groupIndex) const {
    if (groupIndex < 0 || static_cast<size_t>(groupIndex) >= groups.size()) return false;
    return dynamic_cast<const Symmetry*>(groups[static_cast<size_t>(groupIndex)].get()) != nullptr;
}

bool Model::isShown(const Patch& patch) const {
    if (!patch.visible) return false;
    return patch.group < 0 || groups[static_cast<size_t>(patch.group)]->visible;
}

bool Model::indicesValid() const {
    const int64_t count = static_cast<int64_t>(points.size());
    for (const Patch& patch : patches) {
        for (int32_t index : patch.indices)
            if (index < 0 || index >= count) return false;
        if (patch.group < -1 || patch.group >= static_cast<int64_t>(groups.size())) return false;
    }
    return true;
}

std::array<int32_t, 36> controlNetIndices(const Model::Patch& patch) {
    auto at = [&](int r, int c) { return patch.indices[static_cast<size_t>(4 * r + c)]; };
    std::array<int32_t, 36> net{};
    size_t n = 0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            net[n++] = at(r, c + 1);
            net[n++] = at(r + 1, c + 1);
            net[n++] = at(r + 1, c);
            net[n++] = at(r + 1, c + 1);
        }
    return net;
}

namespace {
template <typename Taken> std::string firstUnused(const std::string& prefix, Taken taken) {
    for (size_t n = 0;; ++n) {
        std::string name = prefix + std::to_string(n);
        if (!taken(name)) return name;
    }
}
} // namespace

std::string firstUnusedGroupName(const Model& model, const std::string& prefix) {
    return firstUnused(prefix, [&](const std::string& name) {
        for (const auto& group : model.groups)
            if (group->name == name) return true;
        return false;
    });
}

std::string firstUnusedLocatorName(const Model& model) {
    return firstUnused("Locator_", [&](const std::string& name) {
        for (const Model::Locator& locator : model.locators)
            if (locator.name == name) return true;
        return false;
    });
}
