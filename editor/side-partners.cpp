#include "editor/side-partners.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "core/parallel-ranges.h"

namespace {
// Sides are looked up on both cores from this many chosen patches on.
constexpr size_t kParallelPatches = 2048;
} // namespace

SidePartners::SidePartners(const Model& model, const SideIndex& index,
                           const std::vector<uint8_t>& chosen)
    : first_(model.patches.size() * 4 + 1), poles_(model.patches.size() * 4) {
    // The chosen patches split evenly between the cores: a selection often fills one end of
    // the pool, which a split of the whole pool would leave to one core.
    std::vector<uint32_t> patches;
    for (size_t p = 0; p < model.patches.size(); ++p)
        if (chosen[p] && model.isShown(p)) patches.push_back(static_cast<uint32_t>(p));
    // Each range's partners in patch order, put together in the ranges' order.
    std::vector<std::pair<size_t, std::vector<SidePartner>>> found;
    std::mutex foundLock;
    inParallelRanges(
        patches.size(),
        [&](size_t from, size_t to) {
            std::vector<SidePartner> mine;
            std::vector<SideRef> sides;
            std::vector<bool> reversed;
            for (size_t k = from; k < to; ++k) {
                const uint32_t p = patches[k];
                const Model::Patch& patch = model.patches[p];
                const float size = patchSize(model, patch); // once for the four sides
                for (Side side : kSides) {
                    const SideRef of{p, side};
                    const bool pole = collapsedSide(model, patch, side, size);
                    poles_[slot(of)] = pole;
                    sides.clear();
                    reversed.clear();
                    if (!pole) index.partnersOfSide(model, of, sides, reversed);
                    first_[slot(of) + 1] = static_cast<uint32_t>(sides.size());
                    for (size_t s = 0; s < sides.size(); ++s)
                        mine.push_back({sides[s], reversed[s]});
                }
            }
            const std::lock_guard<std::mutex> hold(foundLock);
            found.emplace_back(from, std::move(mine));
        },
        kParallelPatches);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [from, mine] : found)
        partners_.insert(partners_.end(), mine.begin(), mine.end());
    for (size_t s = 1; s < first_.size(); ++s)
        first_[s] += first_[s - 1];
}

std::span<const SidePartner> SidePartners::of(SideRef side) const {
    const size_t s = slot(side);
    return {partners_.data() + first_[s], partners_.data() + first_[s + 1]};
}
