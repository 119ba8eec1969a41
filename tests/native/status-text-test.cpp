// The status bar's portable side: coordinates to the model's precision, and the parts'
// widths, the message keeping its room in a small window.
#include <gtest/gtest.h>

#include "editor/coordinate-text.h"
#include "ui/status-layout.h"

TEST(StatusText, CoordinatesFollowTheModelsSizeWithoutTrailingZeros) {
    EXPECT_EQ("x 0.52  y 0  z 0", coordinatesText({0.515818f, 0, -0.0001f, 0}, 2));
    EXPECT_EQ("0.00000052", lengthText(5.15818e-7f, 1e-6f));
    EXPECT_EQ("520000", lengthText(523456, 1e6f));
    EXPECT_EQ("2", lengthText(1.5f, 100)); // to the unit at size 100
    EXPECT_EQ("dx -3  dy 1.2  dz 0", coordinatesText({-3, 1.2f, 0, 0}, 10, "dx", "dy", "dz"));
}

TEST(StatusText, TheMessageKeepsItsRoomAndTheSecondPartGoesFirst) {
    constexpr int kCursor = 220, kRelative = 240, kMessage = 180;
    EXPECT_EQ((std::array<int, kStatusParts>{220, 460, -1}),
              statusPartEdges(1200, kCursor, kRelative, kMessage));
    EXPECT_EQ((std::array<int, kStatusParts>{220, 300, -1}),
              statusPartEdges(480, kCursor, kRelative, kMessage));
    EXPECT_EQ((std::array<int, kStatusParts>{200, 200, -1}),
              statusPartEdges(380, kCursor, kRelative, kMessage));
    EXPECT_EQ((std::array<int, kStatusParts>{0, 0, -1}),
              statusPartEdges(100, kCursor, kRelative, kMessage));
}
