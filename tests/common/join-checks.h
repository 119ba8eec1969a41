// Checks the joins tests share: the classic teapot, every join's angle, and T's promises.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/file-replace.h"
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
