// The join angle's floor: T takes it for the angle before wherever it shows a join no worse,
// so it must never be above the full measure.
#include <gtest/gtest.h>

#include <random>

#include "editor/join-angles.h"

TEST(JoinAngleFloor, NeverAboveTheFullMeasure) {
    // Two rows of three patches on x = 0 … 3 in a symmetry, every point thrown about, the
    // first column of points kept on the mirror plane.
    std::mt19937 random(41);
    std::uniform_real_distribution<float> throw_(-0.3f, 0.3f);
    constexpr int kColumns = 10, kRows = 7;
    for (int run = 0; run < 40; ++run) {
        Model model;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                model.points.push_back({c == 0 ? 0 : c / 3.0f + throw_(random), throw_(random),
                                        r / 3.0f + throw_(random)});
        model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
        for (int pr = 0; pr < 2; ++pr)
            for (int pc = 0; pc < 3; ++pc) {
                Model::Patch patch;
                patch.group = 0;
                for (int i = 0; i < 16; ++i)
                    patch.indices[static_cast<size_t>(i)] =
                        (3 * pr + i / 4) * kColumns + 3 * pc + i % 4;
                model.patches.push_back(patch);
            }
        for (const SharedEdge& edge : sharedEdges(model))
            EXPECT_LE(joinAngleFloor(model, edge), joinAngle(model, edge)) << run;
        ASSERT_EQ(2u, mirrorPlaneSides(model).size());
        for (SideRef side : mirrorPlaneSides(model))
            EXPECT_LE(mirrorJoinAngleFloor(model, side), mirrorJoinAngle(model, side)) << run;
    }
}
