#include "editor/side-partners.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "core/parallel-ranges.h"

namespace {
// Sides are looked up on both cores from this many patches on.
constexpr size_t kParallelPatches = 2048;
} // namespace

SidePartners::SidePartners(const Model& model, const SideIndex& index,
                           const std::vector<uint8_t>& chosen)
    : first_(model.patches.size() * 4 + 1), poles_(model.patches.size() * 4) {
    // Each range's partners in patch order, put together in the ranges' order.
    std::vector<std::pair<size_t, std::vector<SidePartner>>> found;
    std::mutex foundLock;
    inParallelRanges(
        model.patches.size(),
        [&](size_t from, size_t to) {
            std::vector<SidePartner> mine;
            std::vector<SideRef> sides;
            std::vector<bool> reversed;
            for (size_t p = from; p < to; ++p) {
                if (!chosen[p] || !model.isShown(p)) continue;
                for (Side side : kSides) {
                    const SideRef of{static_cast<uint32_t>(p), side};
                    poles_[slot(of)] = collapsedSide(model, model.patches[p], side);
                    index.partners(model, of, sides, reversed);
                    first_[slot(of) + 1] = static_cast<uint32_t>(sides.size());
                    for (size_t k = 0; k < sides.size(); ++k)
                        mine.push_back({sides[k], reversed[k]});
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
