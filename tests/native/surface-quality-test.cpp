// Surface quality: curvature from the patches' own derivatives, and how joins are told
// apart (G0, G1, G2).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "editor/curvature-joins.h"
#include "editor/curvature-scale.h"
#include "editor/join-continuity.h"
#include "editor/smooth-joins.h"
#include "graphics/curvature-grids.h"
#include "graphics/zebra-stripes.h"
#include "model/bezier-surface.h"
#include "model/surface-curvature.h"

namespace {

// A cubic arc of the unit circle from angle 0 to angle: its inner points lie along the end
// tangents at 4/3·tan(angle / 4). Over 45° its curvature is within 0.2 % of 1 (over 90°
// only within 2 %).
std::array<vm::Float3, 4> arc(float angle) {
    const float h = 4.0f / 3 * std::tan(angle / 4), c = std::cos(angle), s = std::sin(angle);
    return {{{1, 0, 0}, {1, h, 0}, {c + h * s, s - h * c, 0}, {c, s, 0}}};
}
constexpr float kEighthTurn = 0.78539816f;

// A surface of revolution (x, y) = f(v)·circle(u), z = g(v): bicubic, since both factors are
// cubic, with control point (r, c) = (F_r·C_c.x, F_r·C_c.y, G_r).
std::array<vm::Float3, 16> revolved(const std::array<vm::Float3, 4>& profile, float scale) {
    const std::array<vm::Float3, 4> circle = arc(kEighthTurn);
    std::array<vm::Float3, 16> p{};
    for (size_t r = 0; r < 4; ++r)
        for (size_t c = 0; c < 4; ++c)
            p[4 * r + c] = {scale * profile[r].x * circle[c].x, scale * profile[r].x * circle[c].y,
                            scale * profile[r].y};
    return p;
}

} // namespace

TEST(SurfaceQuality, CurvatureOfACylinderAndASphereIsTheAnalyticOne) {
    for (float radius : {1e-6f, 1.0f, 1e6f}) {
        // A cylinder: the quarter circle swept along z.
        const auto cylinder = revolved({{{1, 0, 0}, {1, 1, 0}, {1, 2, 0}, {1, 3, 0}}}, radius);
        // A piece of a sphere: the arc turned about z.
        const auto sphere = revolved(arc(kEighthTurn), radius);
        for (double u : {0.0, 0.3, 0.5, 1.0})
            for (double v : {0.0, 0.4, 0.8}) {
                const bezier::Curvature c = bezier::curvatureAt(cylinder, u, v);
                ASSERT_TRUE(c.defined);
                EXPECT_NEAR(c.gaussian * radius * radius, 0, 1e-6);
                EXPECT_NEAR(std::fabs(c.mean) * radius, 0.5, 0.005);
                const bezier::Curvature s = bezier::curvatureAt(sphere, u, v);
                ASSERT_TRUE(s.defined);
                EXPECT_NEAR(s.gaussian * radius * radius, 1, 0.01);
                EXPECT_NEAR(std::fabs(s.mean) * radius, 1, 0.01);
            }
        // The display's values at every vertex of a grid say the same.
        constexpr int kSegments = 6;
        std::array<CurvatureGrids::Values, (kSegments + 1) * (kSegments + 1)> grid;
        curvatureGrid(cylinder, kSegments, kSegments, grid.data());
        for (const CurvatureGrids::Values& c : grid) {
            EXPECT_NEAR(c[0] * radius * radius, 0, 1e-5);
            EXPECT_NEAR(std::fabs(c[1]) * radius, 0.5, 0.005);
        }
        curvatureGrid(sphere, kSegments, kSegments, grid.data());
        for (const CurvatureGrids::Values& c : grid) {
            EXPECT_NEAR(c[0] * radius * radius, 1, 0.01);
            EXPECT_NEAR(std::fabs(c[1]) * radius, 1, 0.01);
        }
        // Up to the pole, where the curvature has no value.
        std::array<vm::Float3, 4> toThePole = arc(2 * kEighthTurn);
        toThePole[3].x = 0; // one point, as the teapot's lid knob is
        const auto cap = revolved(toThePole, radius);
        EXPECT_FALSE(bezier::curvatureAt(cap, 0.5, 1.0).defined);
        const bezier::CurvatureRange range = bezier::patchCurvatureRange(cap);
        EXPECT_EQ(range.undefined, 17u); // the pole's row
        EXPECT_NEAR(range.minGaussian * radius * radius, 1, 0.05);
        EXPECT_NEAR(range.maxGaussian * radius * radius, 1, 0.05);
    }
}

namespace {

// Two patches side by side along x (a's right side is b's left), heights bent and jittered:
// a crease between them.
Model bentPair(float size, unsigned seed) {
    Model model;
    std::srand(seed);
    const auto jitter = [] { return (static_cast<float>(std::rand()) / RAND_MAX - 0.5f) * 0.2f; };
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 7; ++col) {
            const float x = col / 3.0f, y = row / 3.0f;
            const float z = (col < 3 ? 0.3f * x * x : -0.4f * (x - 1)) + 0.2f * y * y + jitter();
            model.points.push_back({size * x, size * y, size * z});
        }
    for (int first : {0, 3}) {
        Model::Patch patch;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                patch.indices[4 * row + col] = 7 * row + first + col;
        patch.selected = true;
        model.patches.push_back(patch);
    }
    return model;
}

} // namespace

TEST(SurfaceQuality, CurvatureMatchingMakesJoinsG2AndLeavesTheEdge) {
    for (float size : {1e-6f, 1.0f, 1e6f})
        for (unsigned seed = 1; seed <= 20; ++seed) {
            Model model = bentPair(size, seed);
            const SharedEdge edge = sharedEdges(model).at(0);
            EXPECT_EQ(continuityOf(joinAngle(model, edge), joinCurvatureJump(model, edge)),
                      Continuity::G0)
                << size; // 0° at 1e-6 once
            std::vector<vm::Float3> edgePoints;
            for (int32_t i : sidePoints(model.patches[0], edge.a.side))
                edgePoints.push_back(model.points[i]);
            Model smooth = bentPair(size, seed);
            smoothSelectedJoins(smooth);
            EXPECT_EQ(continuityOf(joinAngle(smooth, edge), joinCurvatureJump(smooth, edge)),
                      Continuity::G1);

            const CurvatureJoinResult result = matchSelectedCurvature(model);
            EXPECT_EQ(result.joins, 1u);
            EXPECT_LT(result.largestJump, kCurvatureMatch) << size << " " << seed;
            EXPECT_LT(joinCurvatureJump(model, edge, kJoinSamples), kCurvatureMatch);
            EXPECT_EQ(continuityOf(joinAngle(model, edge), joinCurvatureJump(model, edge)),
                      Continuity::G2);
            size_t k = 0;
            for (int32_t i : sidePoints(model.patches[0], edge.a.side)) {
                EXPECT_EQ(model.points[i].x, edgePoints[k].x);
                EXPECT_EQ(model.points[i].z, edgePoints[k++].z);
            }
        }
}

TEST(SurfaceQuality, MatchCurvatureCountsOnlyTheJoinsItCompared) {
    CurvatureJoinResult none{24, 0, 0, 24}, some{24, 0.02, 1, 4};
    EXPECT_EQ(std::string::npos, curvatureJoinText(none).find("across"));
    EXPECT_NE(std::string::npos, curvatureJoinText(none).find("none of the 24 joins"));
    EXPECT_NE(std::string::npos, curvatureJoinText(some).find("across 20 joins"));
}

namespace {

// The stripe phase on each side of the pair's join, at distance h (in parameter) off the
// edge, at a point t along it: its value at the edge and its one-sided slopes.
struct AcrossTheEdge {
    float valueA, valueB, slopeA, slopeB;
};
AcrossTheEdge stripesAcross(const Model& model, float t) {
    constexpr float h = 1e-3f;
    const zebra::Stripes stripes{{0.6f, 0.8f, 0}, 8};
    const vm::Float3 view = {0, 0.6f, -0.8f};
    const auto phase = [&](size_t patch, float u) {
        const auto points = bezier::controlPoints(model, model.patches[patch]);
        return zebra::stripePhase(bezier::normalAt(points, u, t), view, stripes);
    };
    const auto distance = [&](size_t patch, float u0, float u1) {
        const auto points = bezier::controlPoints(model, model.patches[patch]);
        const vm::Float3 p = bezier::evaluate(points, u0, t), q = bezier::evaluate(points, u1, t);
        return std::hypot(p.x - q.x, p.y - q.y, p.z - q.z);
    };
    // Patch 0's right side (u = 1) is patch 1's left side (u = 0); slopes per unit length.
    const float a0 = phase(0, 1), a1 = phase(0, 1 - h), b0 = phase(1, 0), b1 = phase(1, h);
    return {a0, b0, (a0 - a1) / distance(0, 1 - h, 1), (b1 - b0) / distance(1, 0, h)};
}

} // namespace

TEST(SurfaceQuality, StripesJumpAtACreaseKinkAtATangentJoinAndFlowOnAtACurvatureJoin) {
    Model crease = bentPair(1, 7), smooth = bentPair(1, 7), matched = bentPair(1, 7);
    smoothSelectedJoins(smooth);
    matchSelectedCurvature(matched);
    for (float t : {0.25f, 0.5f, 0.75f}) {
        const AcrossTheEdge c = stripesAcross(crease, t), s = stripesAcross(smooth, t),
                            m = stripesAcross(matched, t);
        EXPECT_GT(std::fabs(c.valueA - c.valueB), 0.1f);
        EXPECT_LT(std::fabs(s.valueA - s.valueB), 1e-3f);
        EXPECT_GT(std::fabs(s.slopeA - s.slopeB), 0.05f * std::fabs(s.slopeA));
        EXPECT_LT(std::fabs(m.valueA - m.valueB), 1e-3f);
        EXPECT_LT(std::fabs(m.slopeA - m.slopeB), 1e-2f * std::fabs(m.slopeA))
            << m.slopeA << " " << m.slopeB << " " << s.slopeA << " " << s.slopeB;
    }
}

TEST(SurfaceQuality, CurvatureScaleSpansMostSamplesAtAnySize) {
    using curvature::Kind;
    // 2nd to 98th percentile: the two outliers at either end fall outside.
    std::vector<float> samples = {-50, -40};
    for (int k = 0; k <= 100; ++k)
        samples.push_back(static_cast<float>(k) / 100);
    samples.insert(samples.end(), {70, 90});
    const curvature::Scale mean = scaleOfSamples(samples, Kind::Mean, 1e-3);
    EXPECT_NEAR(mean.low, 0.0f, 0.03f);
    EXPECT_NEAR(mean.high, 1.0f, 0.03f);
    // Gaussian: symmetric about zero (green is flat).
    const curvature::Scale gaussian = scaleOfSamples(samples, Kind::Gaussian, 1e-3);
    EXPECT_FLOAT_EQ(gaussian.low, -gaussian.high);
    EXPECT_NEAR(gaussian.high, 1.0f, 0.03f);
    // No width: a flat sheet's zeros, or no samples at all, get the flat curvature's.
    EXPECT_FLOAT_EQ(scaleOfSamples({0, 0, 0}, Kind::Mean, 1e-3).high, 1e-3f);
    EXPECT_FLOAT_EQ(scaleOfSamples({}, Kind::Gaussian, 1e-3).low, -1e-3f);
    // The colours: blue, green, red along the scale, the ends held beyond it.
    EXPECT_FLOAT_EQ(curvature::colourAt(curvature::scaleShare(-3, {-1, 1})).z, 1);
    EXPECT_FLOAT_EQ(curvature::colourAt(curvature::scaleShare(0, {-1, 1})).y, 1);
    EXPECT_FLOAT_EQ(curvature::colourAt(curvature::scaleShare(1, {-1, 1})).x, 1);
    // Fitted to a band of a sphere of any size: the mean curvature 1/r, widened by 1 %.
    for (float radius : {1e-6f, 1.0f, 1e6f}) {
        Model model;
        const auto octant = revolved(arc(kEighthTurn), radius);
        for (int turn = 0; turn < 8; ++turn) {
            const float c = std::cos(turn * kEighthTurn), s = std::sin(turn * kEighthTurn);
            Model::Patch patch;
            for (size_t k = 0; k < 16; ++k) {
                const vm::Float3 p = octant[k];
                patch.indices[k] = static_cast<int32_t>(model.points.size());
                model.points.push_back({c * p.x - s * p.y, s * p.x + c * p.y, p.z});
            }
            model.patches.push_back(patch);
        }
        const curvature::Scale fitted = fittedScale(model, Kind::Mean);
        EXPECT_NEAR(std::fabs(fitted.low) * radius, 1, 0.02);
        EXPECT_NEAR(std::fabs(fitted.high) * radius, 1, 0.02);
        EXPECT_LT(fitted.low, fitted.high);
    }
    EXPECT_EQ(scaleText(Kind::Mean, {-0.42f, 1.3f}), "Mean curvature -0.42 to 1.3 (automatic)");
}
