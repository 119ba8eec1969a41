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

// At 150 % every length grows by half, and from the smallest window (300 × 250 scaled, less
// its frame) to a large one the controls stay inside and apart.
TEST(ShapeWindowLayout, ScaledForTheWindowsDpiInsideAndApart) {
    constexpr int kDpi = 144;
    for (auto [w, h] : {std::pair{420, 330}, std::pair{1000, 1250}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        const ShapeWindowLayout l = shapeWindowLayout(w, h, kDpi);
        ControlPlace choice = l.transformChoice;
        choice.height = l.transformApply.height; // the list shows only when dropped
        std::vector<ControlPlace> all = {l.tree, l.pointList, l.slider, choice, l.transformApply};
        for (int i = 0; i < 3; ++i)
            all.insert(all.end(), {l.labels[i], l.coordinateBoxes[i], l.transformFields[i]});
        for (size_t i = 0; i < all.size(); ++i) {
            const ControlPlace& a = all[i];
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.width > 0 && a.x + a.width <= w &&
                        a.y + a.height <= h)
                << "control " << i;
            for (size_t j = i + 1; j < all.size(); ++j) {
                const ControlPlace& b = all[j];
                EXPECT_TRUE(a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                            b.y + b.height <= a.y)
                    << "controls " << i << " and " << j << " overlap";
            }
        }
        EXPECT_EQ(30, l.coordinateBoxes[0].height);
        EXPECT_EQ(105, l.transformApply.width);
    }
}
