// B-spline surfaces cut into Bezier patches, checked against the B-spline evaluated directly.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bspline-patches.h"

namespace {

// The cubic B-spline basis function i at t (Cox–de Boor, 0/0 taken as 0).
double basis(const std::vector<double>& knots, size_t i, int degree, double t) {
    if (degree == 0) return knots[i] <= t && t < knots[i + 1] ? 1 : 0;
    double value = 0;
    const size_t d = static_cast<size_t>(degree);
    if (knots[i + d] > knots[i])
        value += (t - knots[i]) / (knots[i + d] - knots[i]) * basis(knots, i, degree - 1, t);
    if (knots[i + d + 1] > knots[i + 1])
        value += (knots[i + d + 1] - t) / (knots[i + d + 1] - knots[i + 1]) *
                 basis(knots, i + 1, degree - 1, t);
    return value;
}

std::array<double, 3> onSurface(const BSplineSurface& s, double u, double v) {
    std::array<double, 3> p{};
    for (int iu = 0; iu < s.countU; ++iu)
        for (int iv = 0; iv < s.countV; ++iv) {
            const double w = basis(s.knotsU, static_cast<size_t>(iu), 3, u) *
                             basis(s.knotsV, static_cast<size_t>(iv), 3, v);
            for (size_t d = 0; d < 3; ++d)
                p[d] += w * s.points[static_cast<size_t>(iu * s.countV + iv)][d];
        }
    return p;
}

vm::Float3 onPatch(const std::array<vm::Float3, 16>& net, double s, double t) {
    auto bernstein = [](int k, double x) {
        const double c[4] = {1, 3, 3, 1};
        return c[k] * std::pow(x, k) * std::pow(1 - x, 3 - k);
    };
    double p[3] = {};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const double w = bernstein(c, s) * bernstein(r, t);
            const vm::Float3 q = net[static_cast<size_t>(4 * r + c)];
            p[0] += w * q.x, p[1] += w * q.y, p[2] += w * q.z;
        }
    return {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
}

} // namespace

TEST(BSplinePatches, EachPatchIsTheSurfaceOverItsSpanAndTooManyAreRefused) {
    // Unclamped, uneven knots with a double one, cut to a range that starts and ends inside
    // spans: 6 × 5 patches.
    BSplineSurface s;
    s.countU = 9;
    s.countV = 8;
    s.knotsU = {0, 0.5, 1, 2, 2.5, 3, 3, 4.5, 5, 6, 7, 7.5, 8};
    s.knotsV = {-2, -1, -1, 0, 0.25, 1, 2, 3.5, 4, 4, 5, 6};
    for (int iu = 0; iu < s.countU; ++iu)
        for (int iv = 0; iv < s.countV; ++iv)
            s.points.push_back({iu + 0.3 * std::sin(iv * 1.7), iv + 0.2 * std::cos(iu * 2.3),
                                std::sin(iu * 0.9 + iv * 1.3)});
    s.u0 = 2.2, s.u1 = 5.5, s.v0 = 0.1, s.v1 = 3.9;
    std::string why;
    const auto patches = bezierPatches(s, why);
    const std::vector<double> spansU = {2.2, 2.5, 3, 4.5, 5, 5.5},
                              spansV = {0.1, 0.25, 1, 2, 3.5, 3.9};
    ASSERT_EQ(patches.size(), (spansU.size() - 1) * (spansV.size() - 1)) << why;
    for (size_t pv = 0; pv + 1 < spansV.size(); ++pv)
        for (size_t pu = 0; pu + 1 < spansU.size(); ++pu)
            for (double a : {0.0, 0.3, 0.7})
                for (double b : {0.1, 0.5, 0.95}) {
                    const double u = spansU[pu] + a * (spansU[pu + 1] - spansU[pu]);
                    const double v = spansV[pv] + b * (spansV[pv + 1] - spansV[pv]);
                    const auto expected = onSurface(s, u, v);
                    const vm::Float3 got = onPatch(patches[pv * (spansU.size() - 1) + pu], a, b);
                    EXPECT_NEAR(got.x, expected[0], 1e-5) << u << ", " << v;
                    EXPECT_NEAR(got.y, expected[1], 1e-5) << u << ", " << v;
                    EXPECT_NEAR(got.z, expected[2], 1e-5) << u << ", " << v;
                }

    // 1,000 × 1,000 spans of a few hundred kilobytes of poles: refused, saying how many.
    BSplineSurface big;
    big.countU = big.countV = 1003;
    for (auto* knots : {&big.knotsU, &big.knotsV})
        for (int k = 0; k < 1007; ++k)
            knots->push_back(k);
    big.u0 = big.v0 = 3, big.u1 = big.v1 = 1003;
    big.points.assign(1003 * 1003, {0, 0, 0});
    EXPECT_TRUE(bezierPatches(big, why).empty());
    EXPECT_NE(why.find("1000000 patches"), std::string::npos) << why;
}
