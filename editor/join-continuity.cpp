#include "editor/join-continuity.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "editor/size-tolerance.h"
#include "editor/smooth-joins.h"
#include "model/bezier-surface.h"
#include "model/surface-curvature.h"

namespace {

// The derivatives of a side's patch (its control points) at parameter t along the side.
bezier::SurfaceDerivatives sideDerivatives(const std::array<vm::Float3, 16>& points, Side side,
                                           float t) {
    float u = 0, v = 0;
    sideParameters(side, t, u, v);
    return bezier::derivativesAt(points, u, v);
}

} // namespace

const char* continuityName(Continuity continuity) {
    switch (continuity) {
    case Continuity::G0:
        return "G0";
    case Continuity::G1:
        return "G1";
    case Continuity::G2:
        return "G2";
    }
    return "G0";
}

double joinCurvatureJump(const Model& model, const SharedEdge& edge, int samples) {
    const double size = std::max(patchSize(model, model.patches[edge.a.patch]),
                                 patchSize(model, model.patches[edge.b.patch]));
    const double flat = size > 0 ? 1 / size : 0;
    samples = std::max(samples, 2);
    double largest = 0;
    const auto pointsA = bezier::controlPoints(model, model.patches[edge.a.patch]),
               pointsB = bezier::controlPoints(model, model.patches[edge.b.patch]);
    for (int i = 0; i < samples; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(samples - 1);
        const bezier::SurfaceDerivatives a = sideDerivatives(pointsA, edge.a.side, t);
        const bezier::SurfaceDerivatives b =
            sideDerivatives(pointsB, edge.b.side, edge.reversed ? 1 - t : t);
        const bezier::Vec3d across = runsAlongU(edge.a.side) ? a.dv : a.du;
        const bezier::NormalCurvature ka = bezier::normalCurvature(a, across);
        bezier::NormalCurvature kb = bezier::normalCurvature(b, across);
        if (!ka.defined || !kb.defined) continue;
        // Curvature is measured against each side's normal: a patch facing the other way
        // bends the other way by its own.
        const bezier::Vec3d na = ka.normal, nb = kb.normal;
        if (na.x * nb.x + na.y * nb.y + na.z * nb.z < 0) kb.value = -kb.value;
        const double scale = std::max({std::fabs(ka.value), std::fabs(kb.value), flat});
        if (scale > 0) largest = std::max(largest, std::fabs(ka.value - kb.value) / scale);
    }
    return largest;
}

Continuity continuityOf(float angleDegrees, double curvatureJump) {
    if (!(angleDegrees < kSmoothJoin)) return Continuity::G0;
    return curvatureJump < kCurvatureMatch ? Continuity::G2 : Continuity::G1;
}
