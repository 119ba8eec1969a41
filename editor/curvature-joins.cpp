#include "editor/curvature-joins.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "editor/join-angles.h"
#include "editor/join-continuity.h"
#include "editor/patch-sides.h"
#include "editor/smooth-joins.h"

namespace {

// Sweeps over the joins until no point moves by more than this share of the largest edge
// tangent, or until the most sweeps (second rows shared by two joins settle between them).
constexpr double kSettled = 1e-7;
constexpr int kMostSweeps = 50;

struct Vec {
    double x = 0, y = 0, z = 0;
};
Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(Vec a, double s) {
    return {a.x * s, a.y * s, a.z * s};
}
double length(Vec a) {
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}
Vec vec(vm::Float3 p) {
    return {p.x, p.y, p.z};
}

int32_t netPoint(const Model& model, SideRef side, int along, int in) {
    return model.patches[side.patch].indices[static_cast<size_t>(netIndex(side.side, along, in))];
}

// The points no second-row move may touch: those of shared edges and the rows beside them,
// of poles and of mirror-plane sides.
std::vector<uint8_t> heldPoints(const Model& model, const std::vector<SharedEdge>& shared) {
    std::vector<uint8_t> held(model.points.size(), 0);
    for (const SharedEdge& edge : shared)
        for (SideRef side : {edge.a, edge.b})
            for (int k = 0; k < 4; ++k)
                for (int in = 0; in < 2; ++in)
                    held[netPoint(model, side, k, in)] = 1;
    for (size_t p = 0; p < model.patches.size(); ++p)
        for (Side side : kSides)
            if (collapsedSide(model, model.patches[p], side))
                for (int32_t i : sidePoints(model.patches[p], side))
                    held[i] = 1;
    for (SideRef side : mirrorPlaneSides(model))
        for (int32_t i : sidePoints(model.patches[side.patch], side.side))
            held[i] = 1;
    return held;
}

// One column of a join brought to the same curvature from both sides: with the tangents
// off the edge dB = −λ·dA, the second differences must be SB = λ²·SA. Returns how far the
// points moved, relative to the tangents.
double matchColumn(Model& model, const SharedEdge& edge, int k, const std::vector<uint8_t>& held) {
    const int kb = edge.reversed ? 3 - k : k;
    const int32_t p0 = netPoint(model, edge.a, k, 0), p1 = netPoint(model, edge.a, k, 1),
                  p2 = netPoint(model, edge.a, k, 2);
    const int32_t q0 = netPoint(model, edge.b, kb, 0), q1 = netPoint(model, edge.b, kb, 1),
                  q2 = netPoint(model, edge.b, kb, 2);
    const Vec P0 = vec(model.points[p0]), P1 = vec(model.points[p1]), P2 = vec(model.points[p2]);
    const Vec Q0 = vec(model.points[q0]), Q1 = vec(model.points[q1]), Q2 = vec(model.points[q2]);
    const double da = length(P1 - P0), db = length(Q1 - Q0);
    if (!(da > 0) || !(db > 0)) return 0; // no tangent across here: nothing to match
    const double lambda2 = (db / da) * (db / da);
    const Vec wanted = (Q1 * 2 - Q0) - (P1 * 2 - P0) * lambda2;
    const Vec miss = (Q2 - P2 * lambda2) - wanted;
    const bool moveP = !held[p2] && p2 != q2, moveQ = !held[q2] && p2 != q2;
    if (!moveP && !moveQ) return 0;
    // Both sides take half of the change when both may move.
    const double share = moveP && moveQ ? 0.5 : 1.0;
    Vec newP = P2, newQ = Q2;
    if (moveQ) newQ = Q2 - miss * share;
    if (moveP) newP = P2 + miss * (share / lambda2);
    model.points[p2] = {static_cast<float>(newP.x), static_cast<float>(newP.y),
                        static_cast<float>(newP.z)};
    model.points[q2] = {static_cast<float>(newQ.x), static_cast<float>(newQ.y),
                        static_cast<float>(newQ.z)};
    return std::max(length(newP - P2), length(newQ - Q2)) / std::max(da, db);
}

} // namespace

CurvatureJoinResult matchSelectedCurvature(Model& model) {
    CurvatureJoinResult result;
    const std::vector<SharedEdge> joins = sharedEdges(model, EdgesOf::BothSelected);
    result.joins = joins.size();
    if (joins.empty()) return result;
    smoothSelectedJoins(model);
    const std::vector<uint8_t> held = heldPoints(model, sharedEdges(model, EdgesOf::All));
    for (int sweep = 0; sweep < kMostSweeps; ++sweep) {
        double moved = 0;
        for (const SharedEdge& edge : joins)
            for (int k = 0; k < 4; ++k)
                moved = std::max(moved, matchColumn(model, edge, k, held));
        if (moved < kSettled) break;
    }
    for (const SharedEdge& edge : joins) {
        if (joinAngle(model, edge) >= kSmoothJoin) {
            ++result.notSmooth;
            continue;
        }
        const double jump = joinCurvatureJump(model, edge);
        result.largestJump = std::max(result.largestJump, jump);
        result.held += jump >= kCurvatureMatch;
    }
    return result;
}

std::string curvatureJoinText(const CurvatureJoinResult& result) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "matched the curvature across %zu joins; largest curvature jump now %.2f %%",
                  result.joins, result.largestJump * 100);
    std::string said = text;
    if (result.held > 0)
        said += "; " + std::to_string(result.held) +
                " still jump: their second rows are held by neighbouring joins";
    if (result.notSmooth > 0)
        said += "; " + std::to_string(result.notSmooth) +
                " are not tangent-continuous, so their curvature was not compared";
    return said;
}
