#include "model/largest-rounding.h"

#include <cmath>

#include "core/parallel-ranges.h"
#include "model/obj-format.h"
#include "model/six-digits.h"

float roundingOf(vm::Float3 p) {
    float largest = 0;
    for (const float v : {p.x, p.y, p.z}) {
        if (six_digits::keptQuickly(v)) continue; // a change of 0
        if (const float change = std::fabs(asWritten(v) - v); change > largest) largest = change;
    }
    return largest;
}

LargestRounding largestRounding(const std::vector<vm::Float3>& points) {
    // The ranges taken in order (a million points take a tenth of a second on one core).
    constexpr size_t kRanges = 16, kSmallestSplit = 2;
    LargestRounding found[kRanges];
    inParallelRanges(
        kRanges,
        [&](size_t from, size_t to) {
            for (size_t r = from; r < to; ++r)
                for (size_t i = points.size() * r / kRanges; i < points.size() * (r + 1) / kRanges;
                     ++i)
                    found[r].offer(roundingOf(points[i]), i);
        },
        kSmallestSplit);
    LargestRounding largest;
    for (const LargestRounding& range : found)
        largest.offer(range.change, range.point);
    return largest;
}
