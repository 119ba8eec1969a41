// Joins: poles are none, a seam is one, the angle is found between samples, and T solves the
// selected joins together without moving a shared edge or leaving any join worse.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/join-display.h"
#include "join-checks.h"

namespace {

// across × down patches of size 1 on a grid, their points moved up to `jitter`.
Model sheet(int across, int down, float jitter, std::mt19937& random) {
    Model model;
    std::uniform_real_distribution<float> move(-jitter, jitter);
    const int columns = 3 * across + 1;
    for (int r = 0; r <= 3 * down; ++r)
        for (int c = 0; c < columns; ++c)
            model.points.push_back(
                {c / 3.0f + move(random), move(random), r / 3.0f + move(random)});
    for (int pr = 0; pr < down; ++pr)
        for (int pc = 0; pc < across; ++pc) {
            Model::Patch patch;
            for (int i = 0; i < 16; ++i)
                patch.indices[static_cast<size_t>(i)] = (3 * pr + i / 4) * columns + 3 * pc + i % 4;
            model.patches.push_back(patch);
        }
    return model;
}

} // namespace

TEST(Joins, PolesAreNoJoinsAndAPatchClosedOnItselfHasOne) {
    Model pot = teapot();
    // 64 pairs of equal sides, 12 of them rows collapsed at the knob's tip and the bottom.
    EXPECT_EQ(52u, sharedEdges(pot).size());
    EXPECT_EQ(52u, joinLines(pot).edges);
    // The two knob patches that meet at the tip along a side: smoothing moves no pole point.
    pot.patches[20].selected = pot.patches[21].selected = true;
    smoothAndCheck(pot);
    for (Model::Patch& patch : pot.patches)
        patch.selected = true;
    smoothAndCheck(pot);

    // A tube of one patch, its last column its first, creased where they meet.
    std::mt19937 random(35);
    Model tube = sheet(1, 1, 0, random);
    for (size_t i = 0; i < 16; ++i) {
        const float turn = 1.9f * float(i % 4); // radians around the tube
        tube.points[i] = {std::cos(turn), std::sin(turn), tube.points[i].z};
        tube.patches[0].indices[i] = static_cast<int32_t>(i % 4 == 3 ? i - 3 : i);
    }
    tube.patches[0].selected = true;
    ASSERT_EQ(1u, sharedEdges(tube).size());
    EXPECT_EQ(1u, joinLines(tube).edges);
    const SharedEdge seam = sharedEdges(tube)[0];
    EXPECT_GT(joinAngle(tube, seam), 30.0f);
    SmoothResult result;
    smoothAndCheck(tube, &result);
    EXPECT_EQ(1u, result.joins);
    EXPECT_LT(joinAngle(tube, seam), kSmoothJoin);
}

TEST(Joins, SmoothingSolvesTheSelectedJoinsTogether) {
    // Jittered 2 × 2 sheets, all selected: each patch joined on two sides, four joins meeting
    // inside, where the held edges decide. No join ends worse, and T says why one is rough.
    std::mt19937 random(35);
    for (int run = 0; run < 100; ++run) {
        Model model = sheet(2, 2, 0.05f, random);
        for (Model::Patch& patch : model.patches)
            patch.selected = true;
        SmoothResult result;
        smoothAndCheck(model, &result);
        size_t above = 0;
        for (float angle : angles(model))
            above += angle >= kSmoothJoin;
        EXPECT_EQ(above, result.rough.size());
        EXPECT_EQ(above, result.roughFor(JoinTrouble::HeldCorner));
        EXPECT_EQ(4u, result.joins);
    }
    // A 3 × 3 sheet whose edges are straight lines across a saddle, the points inside its
    // patches jittered: every join can be smooth, each corner's inside point pulled by two.
    Model saddle = sheet(3, 3, 0, random);
    std::uniform_real_distribution<float> jitter(-0.05f, 0.05f);
    for (size_t i = 0; i < saddle.points.size(); ++i) {
        vm::Float3& p = saddle.points[i];
        p.y = 0.2f * p.x * p.z;
        const size_t r = i / 10, c = i % 10;
        if (r % 3 != 0 && c % 3 != 0) p = {p.x + jitter(random), p.y + jitter(random), p.z};
    }
    for (Model::Patch& patch : saddle.patches)
        patch.selected = true;
    SmoothResult smoothed;
    smoothAndCheck(saddle, &smoothed);
    EXPECT_EQ(12u, smoothed.joins);
    EXPECT_EQ(0u, smoothed.rough.size());
    EXPECT_LT(smoothed.largest, kSmoothJoin);

    // A symmetry's two patches on the mirror plane, joined to each other across a side that
    // leaves the plane square: the mirror joins and the shared one are smooth together.
    Model sym = sheet(1, 2, 0, random);
    constexpr float kRise[4] = {0, 0, 0.1f, 0.3f}; // a column's height: level off the plane
    for (size_t i = 0; i < sym.points.size(); ++i)
        sym.points[i].y = kRise[i % 4] + 0.1f * float(i / 4);
    sym.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    for (Model::Patch& patch : sym.patches)
        patch.group = 0, patch.selected = true;
    sym.points[static_cast<size_t>(sym.patches[0].indices[9])].y += 0.2f;
    sym.points[static_cast<size_t>(sym.patches[1].indices[5])].z += 0.1f;
    ASSERT_EQ(2u, mirrorPlaneSides(sym).size());
    SmoothResult result;
    smoothAndCheck(sym, &result);
    for (float angle : angles(sym))
        EXPECT_LT(angle, kSmoothJoin);
    EXPECT_EQ(3u, result.joins);
    EXPECT_EQ(0u, result.rough.size());
}

TEST(Joins, TheLargestAngleIsFoundBetweenTheSamples) {
    // Two patches whose rows beside the edge are thrown about: a crease that peaks between
    // two of the evenly spaced samples is measured as finely sampled.
    std::mt19937 random(35);
    std::uniform_real_distribution<float> throw_(-0.4f, 0.4f);
    float worst = 0;
    for (int run = 0; run < 150; ++run) {
        Model model = sheet(2, 1, 0, random);
        for (size_t i = 0; i < model.points.size(); ++i)
            if (i % 7 == 2 || i % 7 == 4)
                model.points[i].y += throw_(random), model.points[i].z += throw_(random);
        const SharedEdge edge = sharedEdges(model).at(0);
        worst = std::max(worst, std::fabs(joinAngle(model, edge) - joinAngle(model, edge, 1025)));
    }
    EXPECT_LT(worst, 0.05f);
}

TEST(Joins, TolerancesFollowThePatchesSize) {
    std::mt19937 random(35);
    for (float scale : {1e-6f, 1.0f, 1e6f}) {
        // A symmetry's patch with its first column on x = 0, creased across the plane.
        Model half = sheet(1, 1, 0, random);
        for (vm::Float3& p : half.points)
            p = {scale * p.x, scale * (p.x * p.x + 0.2f * p.z), scale * p.z};
        half.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
        half.patches[0].group = 0, half.patches[0].selected = true;
        ASSERT_EQ(1u, mirrorPlaneSides(half).size()) << scale;
        const SmoothResult result = smoothSelectedJoins(half);
        EXPECT_EQ(1u, result.joins);
        EXPECT_LT(mirrorJoinAngle(half, mirrorPlaneSides(half)[0]), kSmoothJoin) << scale;
        // The display's lines stay beside the edge, within a few hundredths of the patch.
        for (const std::vector<vm::Float3>& shade : joinLines(half).shades)
            for (vm::Float3 p : shade)
                EXPECT_LT(std::fabs(p.x), 0.05f * scale) << scale;
    }
}
