// A hierarchy of boxes over items that stay where they are while the camera moves (the
// pool's points, the patches' nets). It is built once per model change and then answers
// every mouse move, from any camera, by looking only at the boxes near the question.
// The items are laid along a space-filling curve through their boxes' centres, so each run
// of kLeafSize of them is a compact leaf, and each kFanOut consecutive nodes make a parent.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/parallel-ranges.h"
#include "core/vector-math.h"

struct Box3 {
    vm::Float3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
    void add(const vm::Float3& p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    void add(const Box3& b) {
        lo = {std::min(lo.x, b.lo.x), std::min(lo.y, b.lo.y), std::min(lo.z, b.lo.z)};
        hi = {std::max(hi.x, b.hi.x), std::max(hi.y, b.hi.y), std::max(hi.z, b.hi.z)};
    }
    bool empty() const { return !(lo.x <= hi.x); }
};

class BoxTree {
  public:
    static constexpr size_t kLeafSize = 16;
    static constexpr size_t kFanOut = 8;

    // boxOf(i) is item i's box, for i < count.
    template <class BoxOf> void build(size_t count, BoxOf boxOf) {
        std::vector<vm::Float3> centres(count);
        for (size_t i = 0; i < count; ++i) {
            const Box3 b = boxOf(i);
            centres[i] = {0.5f * b.lo.x + 0.5f * b.hi.x, 0.5f * b.lo.y + 0.5f * b.hi.y,
                          0.5f * b.lo.z + 0.5f * b.hi.z};
        }
        orderAlongCurve(centres);
        refit(boxOf);
    }
    // The items moved but none came or went: the same order, new boxes.
    template <class BoxOf> void refit(BoxOf boxOf) {
        levels_.resize(1);
        std::vector<Box3>& leaves = levels_[0];
        leaves.resize((order_.size() + kLeafSize - 1) / kLeafSize);
        inParallelRanges(leaves.size(), [&](size_t from, size_t to) {
            for (size_t j = from; j < to; ++j) {
                Box3 box;
                for (size_t k = leafBegin(j); k < leafEnd(j); ++k)
                    box.add(boxOf(order_[k]));
                leaves[j] = box;
            }
        });
        buildUpperLevels();
    }
    // Items were added at the end (count is the new number): they join the last leaves as
    // they come, the others keep their places.
    template <class BoxOf> void append(size_t count, BoxOf boxOf) {
        for (size_t i = order_.size(); i < count; ++i)
            order_.push_back(static_cast<uint32_t>(i));
        refit(boxOf);
    }

    // Level 0 holds the leaves; the last level holds the root alone (none when empty).
    size_t levelCount() const { return levels_.empty() || levels_[0].empty() ? 0 : levels_.size(); }
    const std::vector<Box3>& level(size_t l) const { return levels_[l]; }
    // Items of leaf j, as positions in order().
    size_t leafBegin(size_t j) const { return j * kLeafSize; }
    size_t leafEnd(size_t j) const { return std::min(order_.size(), (j + 1) * kLeafSize); }
    const std::vector<uint32_t>& order() const { return order_; }

  private:
    void orderAlongCurve(const std::vector<vm::Float3>& centres);
    void buildUpperLevels();

    std::vector<uint32_t> order_;
    std::vector<std::vector<Box3>> levels_;
};
