// Checks the joins tests share: the classic teapot, every join's angle, and T's promises.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/file-replace.h"
#include "editor/extrude-edges.h"
#include "editor/float3-ops.h"
#include "editor/smooth-joins.h"
#include "model/patch-import.h"

// The classic teapot: rows collapsed to poles at its knob's tip and its bottom.
inline Model teapot() {
    Model model;
    std::string text;
    EXPECT_TRUE(readFileContents(TAVREL_SOURCE_DIR "/tests/data/teapot.bpt", text));
    EXPECT_TRUE(importPatches(text, model).ok);
    return model;
}

// Every join's angle, the shared ones first, in the order sharedEdges gives them.
inline std::vector<float> angles(const Model& model) {
    std::vector<float> out;
    for (const SharedEdge& edge : sharedEdges(model))
        out.push_back(joinAngle(model, edge));
    for (SideRef side : mirrorPlaneSides(model))
        out.push_back(mirrorJoinAngle(model, side));
    return out;
}

// T's promises: no join worse than it was, no point of a shared edge or a pole moved.
inline void smoothAndCheck(Model& model, SmoothResult* result = nullptr) {
    const std::vector<float> before = angles(model);
    std::vector<uint8_t> held(model.points.size());
    for (const Model::Patch& patch : model.patches)
        for (Side side : kSides) // a pole, or a side shared (pole points and seams included)
            for (int32_t i : sidePoints(patch, side))
                held[static_cast<size_t>(i)] |= collapsedSide(model, patch, side);
    for (const SharedEdge& edge : sharedEdges(model))
        for (int32_t i : sidePoints(model.patches[edge.a.patch], edge.a.side))
            held[static_cast<size_t>(i)] = 1;
    const std::vector<vm::Float3> points = model.points;
    const SmoothResult smoothed = smoothSelectedJoins(model);
    if (result) *result = smoothed;
    const std::vector<float> after = angles(model);
    ASSERT_EQ(before.size(), after.size());
    for (size_t k = 0; k < before.size(); ++k)
        EXPECT_LE(after[k], before[k] + 0.02f) << "join " << k;
    for (size_t i = 0; i < points.size(); ++i)
        EXPECT_TRUE(!held[i] || std::memcmp(&points[i], &model.points[i], 12) == 0) << i;
}

// A pole stays one point: every side at one place is one point repeated.
inline void expectPolesOnePoint(const Model& model) {
    for (const Model::Patch& patch : model.patches)
        for (Side side : kSides)
            if (collapsedSide(model, patch, side)) {
                const std::array<int32_t, 4> points = sidePoints(patch, side);
                EXPECT_EQ(4, std::count(points.begin(), points.end(), points[0]));
            }
}

// E's promise: each new patch meets the patch it grew from within 0.1°. Its join there is the
// side opposite its far row. A row that took an earlier extrusion's points keeps that
// extrusion's ratio of lengths, and where the parent's cross tangent turns back along the
// edge its normal vanishes in between, so only rows grown afresh from regular sides count.
inline void extrudeAndCheck(Model& model) {
    const size_t before = model.patches.size(), pointsBefore = model.points.size();
    const ExtrudeResult grown = extrudeEdges(model, std::vector<uint8_t>(model.points.size(), 1));
    std::vector<uint8_t> far(model.points.size());
    for (uint32_t i : grown.farPoints)
        far[i] = 1;
    const auto at = [&](SideRef s, int along, int in) {
        const auto index =
            model.patches[s.patch].indices[static_cast<size_t>(netIndex(s.side, along, in))];
        return std::pair(static_cast<size_t>(index), model.points[static_cast<size_t>(index)]);
    };
    for (const SharedEdge& edge : sharedEdges(model)) {
        if ((edge.a.patch >= before) == (edge.b.patch >= before)) continue;
        const SideRef side = edge.a.patch >= before ? edge.a : edge.b;
        const SideRef parent = edge.a.patch >= before ? edge.b : edge.a;
        bool check = true;
        vm::Float3 lastCross{};
        for (int k = 0; k < 4; ++k) {
            const int kp = edge.reversed ? 3 - k : k;
            const vm::Float3 cross = f3::sub(at(parent, kp, 0).second, at(parent, kp, 1).second);
            check = check && at(side, k, 1).first >= pointsBefore && far[at(side, k, 3).first] &&
                    (k == 0 || f3::dot(cross, lastCross) > 0);
            lastCross = cross;
        }
        if (check) {
            EXPECT_LT(joinAngle(model, edge), 0.1f) << "patch " << side.patch;
        }
    }
}
