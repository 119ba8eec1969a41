#include "editor/curvature-joins.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/parallel-ranges.h"
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
// of poles and of mirror-plane sides. Only the patches around the selection can hold a point
// of a selected patch's second row, so only their sides are looked at.
std::vector<uint8_t> heldPoints(const Model& model, const JoinNeighbourhood& near) {
    std::vector<uint8_t> held(model.points.size(), 0);
    const auto holdRows = [&](SideRef side) {
        for (int k = 0; k < 4; ++k)
            for (int in = 0; in < 2; ++in)
                held[static_cast<size_t>(netPoint(model, side, k, in))] = 1;
    };
    for (size_t p = 0; p < model.patches.size(); ++p) {
        if (!near.around[p]) continue;
        for (Side side : kSides) {
            const SideRef of{static_cast<uint32_t>(p), side};
            if (near.partners.pole(of))
                for (int32_t i : sidePoints(model.patches[p], side))
                    held[static_cast<size_t>(i)] = 1;
            const auto partners = near.partners.of(of);
            if (!partners.empty()) holdRows(of);
            for (const SidePartner& partner : partners)
                holdRows(partner.side);
        }
    }
    for (SideRef side : near.mirrorSides)
        for (int32_t i : sidePoints(model.patches[side.patch], side.side))
            held[static_cast<size_t>(i)] = 1;
    return held;
}

// One column across a join: its edge point and the next two rows on either side, and which
// of the second-row points may move (found once; the sweeps only move points).
struct Column {
    int32_t p0, p1, p2, q0, q1, q2;
    bool moveP, moveQ;
};

std::vector<Column> columnsOf(const Model& model, const std::vector<SharedEdge>& joins,
                              const std::vector<uint8_t>& held) {
    std::vector<Column> columns;
    columns.reserve(joins.size() * 4);
    for (const SharedEdge& edge : joins)
        for (int k = 0; k < 4; ++k) {
            const int kb = edge.reversed ? 3 - k : k;
            Column c{netPoint(model, edge.a, k, 0),
                     netPoint(model, edge.a, k, 1),
                     netPoint(model, edge.a, k, 2),
                     netPoint(model, edge.b, kb, 0),
                     netPoint(model, edge.b, kb, 1),
                     netPoint(model, edge.b, kb, 2),
                     false,
                     false};
            c.moveP = !held[static_cast<size_t>(c.p2)] && c.p2 != c.q2;
            c.moveQ = !held[static_cast<size_t>(c.q2)] && c.p2 != c.q2;
            if (c.moveP || c.moveQ) columns.push_back(c);
        }
    return columns;
}

vm::Float3 toFloat(Vec v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}
bool same(vm::Float3 a, vm::Float3 b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// One column of a join brought to the same curvature from both sides: with the tangents
// off the edge dB = −λ·dA, the second differences must be SB = λ²·SA. Returns how far the
// points moved, relative to the tangents; changed says whether any coordinate did.
double matchColumn(Model& model, const Column& c, bool& changed) {
    const Vec P0 = vec(model.points[c.p0]), P1 = vec(model.points[c.p1]),
              P2 = vec(model.points[c.p2]);
    const Vec Q0 = vec(model.points[c.q0]), Q1 = vec(model.points[c.q1]),
              Q2 = vec(model.points[c.q2]);
    const double da = length(P1 - P0), db = length(Q1 - Q0);
    if (!(da > 0) || !(db > 0)) return 0; // no tangent across here: nothing to match
    const double lambda2 = (db / da) * (db / da);
    const Vec wanted = (Q1 * 2 - Q0) - (P1 * 2 - P0) * lambda2;
    const Vec miss = (Q2 - P2 * lambda2) - wanted;
    // Both sides take half of the change when both may move.
    const double share = c.moveP && c.moveQ ? 0.5 : 1.0;
    Vec newP = P2, newQ = Q2;
    if (c.moveQ) newQ = Q2 - miss * share;
    if (c.moveP) newP = P2 + miss * (share / lambda2);
    const vm::Float3 p = toFloat(newP), q = toFloat(newQ);
    changed = changed || !same(p, model.points[c.p2]) || !same(q, model.points[c.q2]);
    model.points[c.p2] = p;
    model.points[c.q2] = q;
    return std::max(length(newP - P2), length(newQ - Q2)) / std::max(da, db);
}

// Whether the join's angle is kSmoothJoin or more: a floor of it (a few of its samples) tells
// most rough joins apart for a fifth of the work; only a floor below the mark, or within
// rounding of it, asks for the full measure.
constexpr float kFloorRounding = 1e-3f;
bool notSmooth(const Model& model, const SharedEdge& edge) {
    return joinAngleFloor(model, edge) >= kSmoothJoin + kFloorRounding ||
           joinAngle(model, edge) >= kSmoothJoin;
}

// Joins are measured in runs of this many, on both cores from this many runs on.
constexpr size_t kJoinRun = 64;
constexpr size_t kParallelRuns = 16;

} // namespace

CurvatureJoinResult matchSelectedCurvature(Model& model) {
    CurvatureJoinResult result;
    if (!model.indicesValid()) return result;
    const JoinNeighbourhood near = joinNeighbourhood(model);
    const std::vector<SharedEdge> joins = selectedSharedEdges(model, near);
    result.joins = joins.size();
    if (joins.empty()) return result;
    smoothSelectedJoins(model, near);
    const std::vector<Column> columns = columnsOf(model, joins, heldPoints(model, near));
    for (int sweep = 0; sweep < kMostSweeps; ++sweep) {
        double moved = 0;
        bool changed = false;
        for (const Column& column : columns)
            moved = std::max(moved, matchColumn(model, column, changed));
        // A sweep that changed nothing would be followed by the same sweep again.
        if (moved < kSettled || !changed) break;
    }
    // Each join measured on its own, both cores taking small runs of joins in turn (the
    // smooth joins, which cost most, may lie together), the results summed in order.
    std::vector<double> jumps(joins.size());
    std::atomic<size_t> next{0};
    const size_t runs = (joins.size() + kJoinRun - 1) / kJoinRun;
    inParallelRanges(
        runs,
        [&](size_t, size_t) {
            for (size_t run = next++; run < runs; run = next++)
                for (size_t k = run * kJoinRun; k < std::min(joins.size(), (run + 1) * kJoinRun);
                     ++k)
                    jumps[k] = notSmooth(model, joins[k]) ? -1 : joinCurvatureJump(model, joins[k]);
        },
        kParallelRuns);
    for (double jump : jumps) {
        if (jump < 0) {
            ++result.notSmooth;
            continue;
        }
        result.largestJump = std::max(result.largestJump, jump);
        result.held += jump >= kCurvatureMatch;
    }
    return result;
}

std::string curvatureJoinText(const CurvatureJoinResult& result) {
    // Only a join made tangent-continuous has its curvature compared and matched.
    const size_t compared = result.joins - std::min(result.notSmooth, result.joins);
    if (compared == 0)
        return "match curvature: none of the " + std::to_string(result.joins) +
               " joins is tangent-continuous (T could not make their tangent planes agree), so "
               "no curvature was matched";
    char text[256];
    std::snprintf(text, sizeof text,
                  "matched the curvature across %zu joins; largest curvature jump now %.2f %%",
                  compared, result.largestJump * 100);
    std::string said = text;
    if (result.held > 0)
        said += "; " + std::to_string(result.held) +
                " still jump: their second rows are held by neighbouring joins";
    if (result.notSmooth > 0)
        said += "; " + std::to_string(result.notSmooth) +
                " are not tangent-continuous, so their curvature was not compared";
    return said;
}
