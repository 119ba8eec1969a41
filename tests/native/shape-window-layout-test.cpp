// The shape window's controls at any size: all inside the smallest window, and where they
// always were on the first, large one.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/shape-window-layout.h"

TEST(ShapeWindowLayout, EveryControlInsideFromTheSmallestSizeUp) {
    // The client area of the smallest window (300 × 250 outside, less frame and caption).
    for (auto [w, h] : {std::pair{280, 210}, std::pair{400, 300}, std::pair{664, 831}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        const ShapeWindowLayout l = shapeWindowLayout(w, h);
        std::vector<ControlPlace> all = {l.tree, l.pointList, l.slider, l.transformApply};
        for (int i = 0; i < 3; ++i)
            all.insert(all.end(), {l.labels[i], l.coordinateBoxes[i], l.transformFields[i]});
        for (const ControlPlace& c : all) {
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            EXPECT_GT(c.width, 0);
            EXPECT_LE(c.x + c.width, w);
            EXPECT_LE(c.y + c.height, h);
        }
        EXPECT_LE(l.transformChoice.x + l.transformChoice.width, w);
    }
    const ShapeWindowLayout large = shapeWindowLayout(664, 831);
    EXPECT_EQ(600, large.coordinateBoxes[0].y);
    EXPECT_EQ(460, large.transformApply.x);
    EXPECT_EQ(665, large.transformApply.y);
}
