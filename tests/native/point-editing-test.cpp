// Shaping many points at once: choosing them (clicks, rubber band, the points of patches)
// and moving, turning and scaling them about a pivot and an axis, with the snapping steps
// and the mirror plane of a symmetry kept.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "editor/chosen-points-drag.h"
#include "editor/edit-xform.h"
#include "editor/gesture-cancel.h"
#include "editor/pending-points.h"
#include "editor/point-selection.h"
#include "editor/point-transform.h"
#include "editor/typed-coordinates.h"
#include "model/memory-tree.h"

namespace {

// Two flat patches side by side in y = 0 over x 0…6, z 0…3, sharing the column x = 3.
Model twoPatches() {
    Model model;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 7; ++c)
            model.points.push_back({float(c), 0, float(r)});
    for (int k = 0; k < 2; ++k) {
        Model::Patch patch;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                patch.indices[size_t(4 * r + c)] = 7 * r + 3 * k + c;
        model.patches.push_back(patch);
    }
    return model;
}

void expectNear(vm::Float3 expected, vm::Float3 actual) {
    EXPECT_NEAR(expected.x, actual.x, 1e-5f);
    EXPECT_NEAR(expected.y, actual.y, 1e-5f);
    EXPECT_NEAR(expected.z, actual.z, 1e-5f);
}

} // namespace

TEST(PointSelection, ClicksBandsAndThePointsOfPatchesChooseAsPatchClicksDo) {
    Model model = twoPatches();
    PointSelection chosen;
    chosen.click(3, {}, model.points.size());
    chosen.click(4, {false, true}, model.points.size()); // Shift adds
    chosen.click(3, {true, false}, model.points.size()); // Control toggles
    EXPECT_EQ(std::vector<uint32_t>{4}, chosen.indices());
    chosen.click(-1, {}, model.points.size()); // a plain click on nothing
    EXPECT_TRUE(chosen.empty());

    // The band, seen straight down the y axis through a flat projection: x and z map to
    // the screen. It takes the points of shown patches only.
    const vm::Mat4 topDown = {
        {{1.0f / 8, 0, 0, 0}, {0, 0, 0.5f, 0}, {0, 1.0f / 8, 0, 0}, {0, 0, 0.5f, 1}}};
    model.patches[1].visible = false;
    const std::vector<uint32_t> band = pointsInBox(model, topDown, {0.3f, -0.01f, 0.9f, 0.01f});
    EXPECT_EQ((std::vector<uint32_t>{3}), band); // x 3 of row 0; x 4…6 only in the hidden one
    model.patches[1].visible = true;
    EXPECT_EQ(4u, pointsInBox(model, topDown, {0.3f, -0.01f, 0.9f, 0.01f}).size());

    model.patches[0].selected = true; // its points, the shared column included
    chosen.choose(pointsOfSelectedPatches(model), {}, model.points.size());
    EXPECT_EQ(16u, chosen.size());
    EXPECT_TRUE(chosen.contains(3) && !chosen.contains(4));
    chosen.fit(model.points.size() + 1); // the pool changed: nothing stays
    EXPECT_TRUE(chosen.empty());
    EXPECT_EQ(28u, shownPoints(model).size());
    const vm::Vec4 centre = centreOf(model, pointsOfSelectedPatches(model));
    EXPECT_EQ(1.5f, centre.x);
    EXPECT_EQ(1.5f, centre.z);
}

TEST(PointTransform, MoveTurnAndScaleAboutThePivotAlongAnAxis) {
    Model model = twoPatches();
    const std::vector<uint32_t> points = {0, 6, 21};
    std::vector<vm::Float3> from;
    for (uint32_t i : points)
        from.push_back(model.points[i]);
    PointTransform t;
    t.pivot = {3, 0, 0, 1};

    t.kind = PointTransform::Kind::Scale;
    t.axis = Axis::X;
    t.factor = 2;
    transformPoints(model, points, from, t, {});
    expectNear({-3, 0, 0}, model.points[0]);
    expectNear({9, 0, 0}, model.points[6]);
    expectNear({-3, 0, 3}, model.points[21]); // z untouched along x

    t.kind = PointTransform::Kind::Rotate; // a quarter turn about x through the pivot
    t.axis = Axis::X;
    t.angle = vm::kHalfPi;
    transformPoints(model, points, from, t, {});
    expectNear({0, -3, 0}, model.points[21]); // right-hand rule: z = 3 turns to y = −3
    t.axis = Axis::Free; // free: about the vertical, as the rotate tool always did
    transformPoints(model, points, from, t, {});
    expectNear({3, 0, 3}, model.points[0]);

    t.kind = PointTransform::Kind::Move;
    t.axis = Axis::Y;
    t.offset = {5, 2, 7, 0};
    transformPoints(model, points, from, t, {});
    expectNear({6, 2, 0}, model.points[6]); // only y

    EXPECT_FLOAT_EQ(vm::kPi / 4, snapAngle(0.8f));  // 45°
    EXPECT_FLOAT_EQ(vm::kPi / 12, snapAngle(0.2f)); // 15°
    EXPECT_NEAR(1.3f, snapFactor(1.26f), 1e-6f);
    EXPECT_NEAR(0.0f, snapFactor(0.04f), 1e-6f);

    // The gizmo drawn about x or z turns as the points do: the vertical turn, framed.
    t.kind = PointTransform::Kind::Rotate;
    t.angle = 0.3f;
    t.pivot = {0, 0, 0, 1};
    for (Axis axis : {Axis::X, Axis::Z}) {
        t.axis = Axis::Y;
        const vm::Mat4 framed = vm::inverse(axisFrame(axis)) * transformMatrix(t) * axisFrame(axis);
        t.axis = axis;
        const vm::Mat4 about = transformMatrix(t);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                EXPECT_NEAR(about[r][c], framed[r][c], 1e-5f) << r << c;
    }

    // The scale drag: the distance from the pivot grows by the factor (a press on the pivot
    // measures from 4 pixels); with nothing selected it takes every point.
    EXPECT_FLOAT_EQ(2, dragScaleFactor(40, 80));
    EXPECT_FLOAT_EQ(5, dragScaleFactor(0, 20));
    EditorState editor;
    editor.tool = Tool::Scale;
    EXPECT_EQ(model.points.size(), dragSubject(editor, model).size());
    editor.tool = Tool::Rotate; // the whole model turns by its preview instead
    EXPECT_TRUE(dragSubject(editor, model).empty());
}

TEST(PointTransform, PointsOnASymmetrysMirrorPlaneStayOnIt) {
    Model model = twoPatches(); // patch 0 spans x 0…3: its column x = 0 is on the plane
    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.patches[0].group = 0;
    const std::vector<uint8_t> plane = onMirrorPlane(model);
    EXPECT_TRUE(plane[0] && plane[7] && !plane[1] && !plane[6]);
    const std::vector<uint32_t> points = {0, 1};
    const std::vector<vm::Float3> from = {model.points[0], model.points[1]};
    PointTransform t;
    t.offset = {0.5f, 1, 0, 0};
    EXPECT_EQ(1u, transformPoints(model, points, from, t, plane));
    expectNear({0, 1, 0}, model.points[0]); // up, not off the plane
    expectNear({1.5f, 1, 0}, model.points[1]);
}

TEST(PointTransform, TypedTransformsTakeNumbersOnlyAndStayInRange) {
    const std::string move[3] = {"1.5", "", " -2 "};
    int refused = -1;
    const auto t = typedTransform(TypedTransform::Move, move, {}, &refused);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(1.5f, t->offset.x);
    EXPECT_EQ(0.0f, t->offset.y); // an empty field moves nothing
    EXPECT_EQ(-2.0f, t->offset.z);
    const std::string turn[3] = {"90", "x", "x"}; // a turn reads its first field only
    const auto r = typedTransform(TypedTransform::TurnX, turn, {3, 0, 0, 1}, &refused);
    ASSERT_TRUE(r.has_value());
    EXPECT_FLOAT_EQ(vm::kHalfPi, r->angle);
    EXPECT_EQ(Axis::X, r->axis);
    EXPECT_EQ(3.0f, r->pivot.x);
    const std::string bad[3] = {"2", "1,5", ""};
    EXPECT_FALSE(typedTransform(TypedTransform::Move, bad, {}, &refused).has_value());
    EXPECT_EQ(1, refused);
    const std::string at[3] = {"1", "2", ""}; // the pivot itself, no change of the points
    const auto pivot = typedTransform(TypedTransform::Pivot, at, {9, 9, 9, 1}, &refused);
    ASSERT_TRUE(pivot.has_value());
    EXPECT_EQ(2.0f, pivot->pivot.y);
    EXPECT_EQ(0.0f, pivot->pivot.z);
    EXPECT_EQ(0.0f, pivot->offset.x);
    const std::string empty[3] = {"", "", ""};
    EXPECT_FALSE(typedTransform(TypedTransform::ScaleY, empty, {}, &refused).has_value());
    EXPECT_EQ(0, refused);

    Model model = twoPatches();
    PointTransform huge;
    huge.kind = PointTransform::Kind::Scale;
    huge.factor = 1e9f;
    EXPECT_FALSE(transformWithin(model, {6}, huge, 1e9f)); // x 6 would go to 6e9
    EXPECT_TRUE(transformWithin(model, {0}, huge, 1e9f));  // the origin stays
}

TEST(GestureCancel, EscapeDuringAnyDragLeavesTheModelAsItWasAndNoStep) {
    Model model;
    Document document(model);
    document.replace(twoPatches(), "two.obj", "", true);
    const std::vector<vm::Float3> before = model.points;
    auto unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(before.size(), model.points.size());
        EXPECT_EQ(
            0, std::memcmp(before.data(), model.points.data(), before.size() * sizeof(vm::Float3)));
        EXPECT_FALSE(document.modified());
        EXPECT_EQ(0u, document.history().size());
    };
    EditorState editor;
    // A drag of some points by each tool: moved through the document as the mouse does.
    for (Tool tool : {Tool::Translate, Tool::Rotate, Tool::Scale}) {
        editor.tool = tool;
        editor.pivot = {1.3f, 0, 0.7f, 0};
        beginPointGesture(editor, model, {0, 1, 8, 10});
        document.beginGesture();
        editor.transformDrag = true;
        editor.translation = {0.3f, 0.1f, -0.2f, 0};
        editor.sweepAngle = 0.7f;
        editor.scaleFactor = 1.7f;
        document.preview([&](Model& m) { return stepPointGesture(editor, m, Axis::Free); });
        EXPECT_TRUE(cancelDrags(editor, document));
        EXPECT_FALSE(editor.transformDrag || pointGestureUnderWay(editor));
        unchanged("points drag");
    }
    // The whole model dragged shows only in the preview matrix.
    editor.tool = Tool::Translate;
    editor.transformDrag = true;
    editor.translation = {2, 0, 0, 0};
    EXPECT_TRUE(cancelDrags(editor, document));
    EXPECT_FALSE(previewPending(editor));
    unchanged("whole model");
    // The no-tool drag of one point.
    editor.tool = Tool::None;
    editor.draggedPoint = 9;
    editor.draggedFrom = model.points[9];
    document.preview([](Model& m) {
        m.points[9] = {5, 5, 5};
        return std::vector<uint32_t>{9};
    });
    EXPECT_TRUE(cancelDrags(editor, document));
    EXPECT_EQ(-1, editor.draggedPoint);
    unchanged("point drag");
    // A press on a chosen point in the select tool drags every chosen point, by as much.
    editor.tool = Tool::Select;
    editor.chosenPoints.choose({2, 3, 9}, {}, model.points.size());
    EXPECT_FALSE(beginChosenPointsDrag(editor, model, 4));
    ASSERT_TRUE(beginChosenPointsDrag(editor, model, 3));
    document.beginGesture();
    editor.translation = {0, 1, 0, 0};
    document.preview([&](Model& m) { return stepPointGesture(editor, m, Axis::Free); });
    for (uint32_t i : {2u, 3u, 9u})
        EXPECT_EQ(before[i].y + 1, model.points[i].y);
    EXPECT_TRUE(cancelDrags(editor, document));
    unchanged("chosen points drag");
    // A rubber band; then nothing is left to give up.
    editor.banding = true;
    EXPECT_TRUE(cancelDrags(editor, document));
    EXPECT_FALSE(editor.banding || cancelDrags(editor, document));
    // The add tool's clicks show the document modified; given up, they leave it as it was.
    MemoryTree tree;
    for (int i = 0; i < 3; ++i) {
        addPendingPoint(editor.pendingPoints, model, tree, false, -1, {float(i), 0, 9, 1});
        document.changing();
    }
    EXPECT_TRUE(cancelPendingPoints(editor, document, tree));
    EXPECT_TRUE(editor.pendingPoints.empty());
    unchanged("add tool");
}
