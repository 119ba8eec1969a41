// The edit session without a window: the selection tells its views and makes no step, a
// point drag previews through the document and becomes one step, the add tool's sixteenth
// click makes one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/generated-model.h"
#include "editor/chosen-points-drag.h"
#include "editor/edit-session.h"
#include "editor/edit-xform.h"
#include "editor/join-angles.h"
#include "editor/live-joins.h"
#include "editor/point-selection.h"
#include "join-checks.h"
#include "model/memory-tree.h"

namespace {

struct Heard : SessionView, DocumentView {
    std::vector<std::string> selections;
    std::vector<std::vector<uint32_t>> previews;
    std::vector<std::string> changes;
    void selectionChanged(const EditSession&, const SelectionChange& change) override {
        selections.push_back(std::string(change.why) + (change.remember ? "" : " (kept)"));
    }
    void documentPreviewed(const Document&, const std::vector<uint32_t>& moved) override {
        previews.push_back(moved);
    }
    void documentChanged(const Document&, const DocumentChange& change) override {
        changes.push_back(change.step ? change.step->name
                                      : "kind " + std::to_string(static_cast<int>(change.kind)));
    }
};

struct SessionFixture {
    Model model;
    Document document{model};
    EditorState state;
    MemoryTree tree;
    EditSession session{document, state, tree};
    Heard heard;
    SessionFixture() {
        Model start;
        start.createDefault();
        document.replace(std::move(start), "", "", true);
        session.addView(&heard);
        document.addView(&heard);
        heard.changes.clear();
    }
};

} // namespace

TEST(EditSession, SelectionTellsTheViewsAndTurnsAboutItsOwnCentreWithoutAStep) {
    SessionFixture f;
    f.state.tool = Tool::Rotate;
    f.state.chosenPivot = vm::Vec4{9, 9, 9, 0};
    f.session.clickPatch(1, {});
    EXPECT_TRUE(f.model.patches[1].selected);
    EXPECT_FALSE(f.state.chosenPivot); // the user's pivot belongs to the old selection
    const vm::Vec4 centre = centreOf(f.model, transformSubject(f.state, f.model));
    EXPECT_FLOAT_EQ(centre.x, f.state.pivot.x);
    f.session.selectPatchesInBox({0, 2}, {false, true});
    f.state.choosingPoints = true;
    f.session.choosePoints({3, 4}, {}, "list");
    EXPECT_EQ((std::vector<uint32_t>{3, 4}), f.state.coordinates.points);
    f.session.selectionChanged("select all", false);
    EXPECT_EQ((std::vector<std::string>{"click", "box", "list", "select all (kept)"}),
              f.heard.selections);
    EXPECT_TRUE(f.heard.changes.empty());
    EXPECT_FALSE(f.document.history().canUndo());
}

TEST(EditSession, APointDragPreviewsThroughTheDocumentAndBecomesOneStepUndoneWhole) {
    SessionFixture f;
    const std::vector<vm::Float3> before = f.model.points;
    f.session.dragPoint(5, {1, 2, 3});
    f.session.dragPoint(5, {4, 5, 6});
    EXPECT_EQ((std::vector<std::vector<uint32_t>>{{5}, {5}}), f.heard.previews);
    EXPECT_TRUE(f.document.modified());
    EXPECT_FALSE(f.document.history().canUndo()); // no step until the drag ends
    f.session.finishGestures();
    EXPECT_FALSE(f.session.finishPointDrag());
    EXPECT_EQ("Move point", f.document.history().undoName());
    EXPECT_FLOAT_EQ(6, f.model.points[5].z);
    f.document.undo();
    EXPECT_EQ(
        0, std::memcmp(before.data(), f.model.points.data(), before.size() * sizeof(vm::Float3)));
    EXPECT_FALSE(f.document.modified());

    // Escape puts a drag back with no step and the document as it was.
    f.session.dragPoint(7, {1, 1, 1});
    EXPECT_EQ(Cancelled::Drag, f.session.cancelGestures());
    EXPECT_EQ(
        0, std::memcmp(before.data(), f.model.points.data(), before.size() * sizeof(vm::Float3)));
    EXPECT_FALSE(f.document.modified());
    EXPECT_TRUE(f.document.history().canRedo());
}

TEST(EditSession, TheAddToolsSixteenthClickMakesOnePatchAndEscapeDropsTheClicks) {
    SessionFixture f;
    const size_t patches = f.model.patches.size();
    f.state.tool = Tool::Add;
    for (int i = 0; i < 15; ++i)
        EXPECT_FALSE(f.session.addPoint({float(i % 4), float(i / 4), 5, 1}));
    EXPECT_TRUE(f.document.modified()); // the clicks are work not yet in a step
    EXPECT_EQ(Cancelled::PendingPoints, f.session.cancelGestures());
    EXPECT_TRUE(f.state.pendingPoints.empty());
    EXPECT_FALSE(f.document.modified());

    for (int i = 0; i < 15; ++i)
        f.session.addPoint({float(i % 4), float(i / 4), 5, 1});
    EXPECT_TRUE(f.session.addPoint({3, 3, 5, 1}));
    EXPECT_EQ(patches + 1, f.model.patches.size());
    EXPECT_EQ("Add patch", f.document.history().undoName());
    f.document.undo();
    EXPECT_EQ(patches, f.model.patches.size());
}

// A press on empty space or with Shift waits for the release: a band or an orbit drag, or
// Escape, leaves the selection as it was; a plain press on a patch selects at once.
TEST(EditSession, AClickOnNothingOrWithShiftCountsAtTheReleaseUnlessItBecameADrag) {
    SessionFixture f;
    f.session.clickPatch(0, {});
    const auto selected = [&] {
        std::vector<int> on;
        for (size_t k = 0; k < f.model.patches.size(); ++k)
            if (f.model.patches[k].selected) on.push_back(static_cast<int>(k));
        return on;
    };
    EXPECT_TRUE(f.session.pressToSelect(-1, {}, 100, 100)); // a band may follow
    EXPECT_EQ(std::vector<int>{0}, selected());
    f.session.cancelGestures(); // Escape
    f.session.releaseHeldClick();
    EXPECT_EQ(std::vector<int>{0}, selected());
    EXPECT_TRUE(f.session.pressToSelect(1, {false, true}, 100, 100));
    f.session.pointerDragged(100, 100 + 3 * EditSession::kClickTravel); // an orbit
    f.session.releaseHeldClick();
    EXPECT_EQ(std::vector<int>{0}, selected());
    f.session.pressToSelect(1, {false, true}, 100, 100);
    f.session.pointerDragged(101, 101);
    f.session.releaseHeldClick();
    EXPECT_EQ((std::vector<int>{0, 1}), selected());
    EXPECT_FALSE(f.session.pressToSelect(2, {}, 0, 0));
    EXPECT_EQ(std::vector<int>{2}, selected());
    f.session.pressToSelect(-1, {}, 0, 0);
    f.session.releaseHeldClick(); // a click on empty space
    EXPECT_TRUE(selected().empty());
    EXPECT_FALSE(f.document.history().canUndo());
}

// Joins kept smooth while editing: on a smooth (flat) sheet, drags of edge points and of the
// rows beside them (one at a time, each its own step), typed moves and chosen-point drags
// leave every join smooth; Escape and undo give the model back bit for bit.
TEST(EditSession, JoinsKeptSmoothStaySmoothThroughDragsAndComeBackWhole) {
    SessionFixture f;
    Model sheet;
    generateSheet(sheet, 10, 10);
    for (vm::Float3& p : sheet.points)
        p.y = 0;
    f.document.replace(std::move(sheet), "", "", true);
    const std::vector<vm::Float3> start = f.model.points;
    const auto largestAngle = [&] {
        float largest = 0;
        for (const SharedEdge& edge : sharedEdges(f.model))
            largest = std::max(largest, joinAngle(f.model, edge));
        return largest;
    };
    ASSERT_LT(largestAngle(), 0.1f);
    f.state.liveJoins = true;
    std::mt19937 random(7);
    std::uniform_int_distribution<uint32_t> pick(0, static_cast<uint32_t>(start.size() - 1));
    std::uniform_real_distribution<float> offset(-0.05f, 0.05f);
    for (int drag = 0; drag < 40; ++drag) {
        const uint32_t point = pick(random);
        const std::vector<vm::Float3> before = f.model.points;
        vm::Float3 to = f.model.points[point];
        for (int step = 0; step < 3; ++step) {
            to = {to.x + offset(random), to.y + offset(random), to.z + offset(random)};
            f.session.dragPoint(point, to);
        }
        if (drag % 10 == 9) { // Escape: the drag and what followed it go back
            f.session.cancelGestures();
            EXPECT_EQ(0, std::memcmp(before.data(), f.model.points.data(),
                                     before.size() * sizeof(vm::Float3)));
        }
        f.session.finishGestures();
        ASSERT_LT(largestAngle(), 0.1f) << "drag " << drag << " of point " << point;
    }
    // A typed move and a drag of chosen points keep them too.
    const auto shift = [](Model& m) {
        m.points[31 * 5 + 6].y += 0.04f;
        return std::vector<uint32_t>{31 * 5 + 6};
    };
    f.document.edit("Type coordinates", [&](Model& m) { movedKeepingJoins(m, shift); });
    EXPECT_LT(largestAngle(), 0.1f);
    f.state.tool = Tool::Select;
    f.state.chosenPoints.choose({31 * 9 + 9, 31 * 9 + 10}, {}, f.model.points.size());
    ASSERT_TRUE(beginChosenPointsDrag(f.state, f.model, 31 * 9 + 9));
    f.document.beginGesture();
    f.state.translation = {0, 0.05f, 0.02f, 0};
    f.document.preview([&](Model& m) { return stepPointGesture(f.state, m, Axis::Free); });
    f.session.commitTransform();
    EXPECT_LT(largestAngle(), 0.1f);
    while (f.document.undo()) {
    }
    EXPECT_EQ(0,
              std::memcmp(start.data(), f.model.points.data(), start.size() * sizeof(vm::Float3)));
}

// The same around the teapot's lid and knob (rings of four patches closed around the axis, a
// pole where whole rows meet at the knob's tip), at any size, dragging any point (each is on
// an edge or the row beside one): every join smooth at a drag's press stays within 0.1° of its
// angle there, the poles stay one point and where they were, Escape and undo give the model
// back bit for bit.
TEST(EditSession, JoinsKeptSmoothAroundRingsAndPolesOfTheTeapotAtAnySize) {
    for (const float scale : {1e-6f, 1.0f, 1e6f}) {
        SessionFixture f;
        Model pot = teapot();
        for (vm::Float3& p : pot.points)
            p = f3::scale(p, scale);
        f.document.replace(std::move(pot), "", "", true);
        const std::vector<vm::Float3> start = f.model.points;
        std::vector<int32_t> poles;
        for (const Model::Patch& patch : f.model.patches)
            for (Side side : kSides)
                if (collapsedSide(f.model, patch, side))
                    poles.push_back(sidePoints(patch, side)[0]);
        f.state.liveJoins = true;
        std::mt19937 random(11);
        std::uniform_int_distribution<uint32_t> pick(0, static_cast<uint32_t>(start.size() - 1));
        std::uniform_real_distribution<float> offset(-0.05f * scale, 0.05f * scale);
        for (int drag = 0; drag < 200; ++drag) {
            const uint32_t point = pick(random);
            const std::vector<vm::Float3> before = f.model.points;
            const std::vector<float> pressed = angles(f.model);
            vm::Float3 to = f.model.points[point];
            for (int step = 0; step < 3; ++step) {
                to = f3::add(to, {offset(random), offset(random), offset(random)});
                f.session.dragPoint(point, to);
            }
            if (drag % 10 == 9) {
                f.session.cancelGestures();
                ASSERT_EQ(0, std::memcmp(before.data(), f.model.points.data(),
                                         before.size() * sizeof(vm::Float3)));
            }
            f.session.finishGestures();
            const std::vector<float> after = angles(f.model);
            for (size_t k = 0; k < pressed.size(); ++k) {
                if (pressed[k] > LiveJoins::kSmoothDegrees) continue;
                ASSERT_LE(after[k], pressed[k] + 0.1f) << "scale " << scale << " drag " << drag
                                                       << " of point " << point << " join " << k;
            }
            expectPolesOnePoint(f.model);
            for (int32_t pole : poles) // a pole moves only as it is dragged
                ASSERT_TRUE(pole == static_cast<int32_t>(point) ||
                            std::memcmp(&before[static_cast<size_t>(pole)],
                                        &f.model.points[static_cast<size_t>(pole)], 12) == 0);
        }
        while (f.document.undo()) {
        }
        EXPECT_EQ(
            0, std::memcmp(start.data(), f.model.points.data(), start.size() * sizeof(vm::Float3)));
    }
}

// Escape while the opacity slider is held: the opacity as it was, no step, not modified, and
// the rest of the held gesture changes nothing.
TEST(EditSession, EscapeGivesUpTheOpacityGestureWhole) {
    SessionFixture f;
    const float before = f.model.patches[1].alpha;
    f.document.beginGesture();
    f.model.patches[1].alpha = 0.25f;
    f.document.changing();
    EXPECT_EQ(Cancelled::Drag, f.session.cancelGestures());
    EXPECT_EQ(before, f.model.patches[1].alpha);
    EXPECT_FALSE(f.document.modified());
    EXPECT_FALSE(f.document.history().canUndo());
    EXPECT_TRUE(f.session.opacityGestureCut());
}
