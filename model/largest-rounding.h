// The largest change six significant digits make to a coordinate of a model's points: an
// import tells it, as the editor's text keeps six.
#pragma once

#include <cstddef>
#include <vector>

#include "core/vector-math.h"

struct LargestRounding {
    float change = 0; // 0 when six digits keep every coordinate
    size_t point = 0; // the first point moved that far
    // Offered in the points' order: a later point moved as far does not replace the first.
    void offer(float pointChange, size_t index) {
        if (pointChange > change) {
            change = pointChange;
            point = index;
        }
    }
};

// Whether an import measures it (for its report) or not (the editor's import).
enum class SixDigitChange : bool { Unmeasured, Measured };

// The largest change to one of p's coordinates (a NaN change counts as none).
float roundingOf(vm::Float3 p);

// Over all the points, a range of them on each core.
LargestRounding largestRounding(const std::vector<vm::Float3>& points);
