#include "editor/box-tree.h"

#include <array>

#include "core/parallel-ranges.h"

namespace {

// Spreads the low 10 bits of v so that two zero bits follow each one.
uint32_t spreadBits(uint32_t v) {
    v &= 0x3ff;
    v = (v | (v << 16)) & 0x030000ff;
    v = (v | (v << 8)) & 0x0300f00f;
    v = (v | (v << 4)) & 0x030c30c3;
    v = (v | (v << 2)) & 0x09249249;
    return v;
}

uint32_t quantise(float v, float lo, float scale) {
    const float q = (v - lo) * scale;
    return q > 0 ? static_cast<uint32_t>(std::min(q, 1023.0f)) : 0; // NaN lands on 0
}

} // namespace

void BoxTree::orderAlongCurve(const std::vector<vm::Float3>& centres) {
    const size_t n = centres.size();
    Box3 bounds;
    for (const vm::Float3& c : centres)
        if (std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z)) bounds.add(c);
    auto scaleOf = [](float lo, float hi) { return hi > lo ? 1023.0f / (hi - lo) : 0.0f; };
    const float sx = scaleOf(bounds.lo.x, bounds.hi.x), sy = scaleOf(bounds.lo.y, bounds.hi.y),
                sz = scaleOf(bounds.lo.z, bounds.hi.z);
    std::vector<uint32_t> codes(n), otherCodes(n), otherOrder(n);
    order_.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const vm::Float3& c = centres[i];
        codes[i] = spreadBits(quantise(c.x, bounds.lo.x, sx)) |
                   spreadBits(quantise(c.y, bounds.lo.y, sy)) << 1 |
                   spreadBits(quantise(c.z, bounds.lo.z, sz)) << 2;
        order_[i] = static_cast<uint32_t>(i);
    }
    // Three stable passes of ten bits each sort the 30-bit codes.
    for (int shift = 0; shift < 30; shift += 10) {
        std::array<uint32_t, 1025> start{};
        for (uint32_t c : codes)
            ++start[((c >> shift) & 0x3ff) + 1];
        for (size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (size_t i = 0; i < n; ++i) {
            const uint32_t to = start[(codes[i] >> shift) & 0x3ff]++;
            otherCodes[to] = codes[i];
            otherOrder[to] = order_[i];
        }
        codes.swap(otherCodes);
        order_.swap(otherOrder);
    }
}

void BoxTree::buildUpperLevels() {
    while (levels_.back().size() > 1) {
        const std::vector<Box3>& below = levels_.back();
        std::vector<Box3> above((below.size() + kFanOut - 1) / kFanOut);
        for (size_t j = 0; j < below.size(); ++j)
            above[j / kFanOut].add(below[j]);
        levels_.push_back(std::move(above));
    }
}
