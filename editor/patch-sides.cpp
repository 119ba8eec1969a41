#include "editor/patch-sides.h"

#include <algorithm>

namespace {

std::array<int32_t, 4> keyOf(std::array<int32_t, 4> points) {
    if (points[3] < points[0] || (points[3] == points[0] && points[2] < points[1]))
        std::reverse(points.begin(), points.end());
    return points;
}

} // namespace

Side opposite(Side side) {
    switch (side) {
    case Side::Top:
        return Side::Bottom;
    case Side::Bottom:
        return Side::Top;
    case Side::Left:
        return Side::Right;
    case Side::Right:
        break;
    }
    return Side::Left;
}

int netIndex(Side side, int along, int in) {
    switch (side) {
    case Side::Top:
        return 4 * in + along;
    case Side::Bottom:
        return 4 * (3 - in) + along;
    case Side::Left:
        return 4 * along + in;
    case Side::Right:
        break;
    }
    return 4 * along + 3 - in;
}

std::array<int32_t, 4> sidePoints(const Model::Patch& patch, Side side) {
    std::array<int32_t, 4> points{};
    for (int k = 0; k < 4; ++k)
        points[static_cast<size_t>(k)] = patch.indices[static_cast<size_t>(netIndex(side, k, 0))];
    return points;
}

void sideParameters(Side side, float t, float& u, float& v) {
    switch (side) {
    case Side::Top:
        u = t, v = 0;
        return;
    case Side::Bottom:
        u = t, v = 1;
        return;
    case Side::Left:
        u = 0, v = t;
        return;
    case Side::Right:
        break;
    }
    u = 1, v = t;
}

SideIndex::SideIndex(const Model& model, bool shownOnly) {
    entries_.reserve(model.patches.size() * 4);
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (shownOnly && !model.isShown(p)) continue;
        for (Side side : kSides)
            entries_.push_back(
                {keyOf(sidePoints(model.patches[p], side)), {static_cast<uint32_t>(p), side}});
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        return a.key < b.key ||
               (a.key == b.key && (a.side.patch < b.side.patch ||
                                   (a.side.patch == b.side.patch && a.side.side < b.side.side)));
    });
}

void SideIndex::partners(const Model& model, SideRef of, std::vector<SideRef>& sides,
                         std::vector<bool>& reversed) const {
    sides.clear();
    reversed.clear();
    const std::array<int32_t, 4> points = sidePoints(model.patches[of.patch], of.side);
    const std::array<int32_t, 4> key = keyOf(points);
    auto it =
        std::lower_bound(entries_.begin(), entries_.end(), key,
                         [](const Entry& e, const std::array<int32_t, 4>& k) { return e.key < k; });
    for (; it != entries_.end() && it->key == key; ++it) {
        if (it->side.patch == of.patch && it->side.side == of.side) continue;
        sides.push_back(it->side);
        reversed.push_back(sidePoints(model.patches[it->side.patch], it->side.side) != points);
    }
}

std::vector<SharedEdge> sharedEdges(const Model& model) {
    const SideIndex index(model, true);
    std::vector<SharedEdge> edges;
    std::vector<SideRef> partners;
    std::vector<bool> reversed;
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!model.isShown(p)) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            index.partners(model, of, partners, reversed);
            for (size_t k = 0; k < partners.size(); ++k)
                if (partners[k].patch > of.patch) // each pair once
                    edges.push_back({of, partners[k], reversed[k]});
        }
    }
    return edges;
}
