#include "model/knot-tolerance.h"

#include <cmath>

namespace {

constexpr int kDegree = 3;

void normalise(std::vector<double>& knots, int count, double& from, double& to) {
    if (count <= kDegree || knots.size() != static_cast<size_t>(count + kDegree + 1)) return;
    const double width = knots[static_cast<size_t>(count)] - knots[kDegree];
    if (!(width > 0) || !std::isfinite(width)) return;
    const double tolerance = kRelativeKnotTolerance * width;
    for (size_t i = 1; i < knots.size(); ++i)
        if (knots[i] > knots[i - 1] && knots[i] - knots[i - 1] < tolerance) knots[i] = knots[i - 1];
    for (double* end : {&from, &to}) {
        double nearest = tolerance;
        for (size_t k = kDegree; k <= static_cast<size_t>(count); ++k)
            if (const double d = std::fabs(*end - knots[k]); d <= nearest) {
                nearest = d;
                *end = knots[k];
            }
    }
}

} // namespace

void normaliseKnots(BSplineSurface& s) {
    normalise(s.knotsU, s.countU, s.u0, s.u1);
    normalise(s.knotsV, s.countV, s.v0, s.v1);
}

bool overPartOfRange(const BSplineSurface& s) {
    if (s.countU <= kDegree || s.countV <= kDegree ||
        s.knotsU.size() <= static_cast<size_t>(s.countU) ||
        s.knotsV.size() <= static_cast<size_t>(s.countV))
        return false;
    return s.u0 > s.knotsU[kDegree] || s.u1 < s.knotsU[static_cast<size_t>(s.countU)] ||
           s.v0 > s.knotsV[kDegree] || s.v1 < s.knotsV[static_cast<size_t>(s.countV)];
}
