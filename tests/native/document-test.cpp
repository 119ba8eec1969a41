// The document: one way to change the model, a modified state that follows the history's
// saved position, and views told what changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/document.h"

namespace {

// A view that writes down what it is told: "kind:step name".
struct Recorder : DocumentView {
    std::vector<std::string> heard;
    void documentWillChange(const Document&, const ModelChange& step, bool undo) override {
        heard.push_back(std::string(undo ? "before undo:" : "before redo:") + step.name);
    }
    void documentChanged(const Document& d, const DocumentChange& change) override {
        static const char* const kinds[] = {"edit",     "undo",  "redo",  "changing",
                                            "replaced", "saved", "opened"};
        heard.push_back(std::string(kinds[static_cast<int>(change.kind)]) + ":" +
                        (change.step ? change.step->name : "") + (d.modified() ? "*" : "") +
                        (change.topologyChanged() ? " topology" : ""));
    }
};

} // namespace

TEST(Document, EditsUndoRedoAndSavesTellTheViewsAndMoveTheModifiedState) {
    Model model;
    Document document(model);
    Recorder view;
    document.addView(&view);
    Model start;
    start.createDefault();
    document.replace(std::move(start), "wing.obj", "", true);
    EXPECT_FALSE(document.modified());

    // An edit is one step; one that changes nothing is none.
    EXPECT_TRUE(document.edit("Move", [](Model& m) { m.points[0].x += 1; }));
    EXPECT_FALSE(document.edit("Nothing", [](Model&) {}));
    EXPECT_TRUE(document.modified());
    EXPECT_TRUE(document.edit("Delete", [](Model& m) { m.patches.pop_back(); }));
    // A gesture shows as modified before its step.
    document.undo();
    document.undo();
    EXPECT_FALSE(document.modified());
    document.changing();
    EXPECT_TRUE(document.modified());
    document.record({}); // it came back where it started
    EXPECT_FALSE(document.modified());
    document.redo();
    document.saved("wing2.obj");
    EXPECT_FALSE(document.modified());
    EXPECT_EQ("wing2.obj", document.path());

    const std::vector<std::string> expected = {"replaced: topology",
                                               "edit:Move*",
                                               "edit:Delete* topology",
                                               "before undo:Delete",
                                               "undo:Delete* topology",
                                               "before undo:Move",
                                               "undo:Move",
                                               "changing:*",
                                               "changing:",
                                               "before redo:Move",
                                               "redo:Move*",
                                               "saved:"};
    EXPECT_EQ(expected, view.heard);

    // A partly read file's state goes with the first save; an unsaved replacement (an
    // import, a recovered copy) is modified from the start.
    document.adopt("part.obj", "read 1 of the file's 2 patches", true);
    EXPECT_EQ("read 1 of the file's 2 patches", document.partlyRead());
    document.saved("part.obj");
    EXPECT_EQ("", document.partlyRead());
    Model imported;
    imported.createDefault();
    document.replace(std::move(imported), "", "", false);
    EXPECT_TRUE(document.modified());
    EXPECT_FALSE(document.history().canUndo());
    document.removeView(&view);
    const size_t heard = view.heard.size();
    document.edit("Move", [](Model& m) { m.points[1].y = 9; });
    EXPECT_EQ(heard, view.heard.size());
}

TEST(Document, AGestureFoundAtItsEndIsOneStepAndANewModelEndsIt) {
    Model model;
    model.createDefault();
    Document document(model);
    EXPECT_FALSE(document.endGesture("Opacity")); // none begun
    document.beginGesture();
    for (float alpha : {0.8f, 0.5f, 0.25f}) {
        document.beginGesture(); // every step of the slider says so; the first one counts
        model.patches[0].alpha = alpha;
        document.changing();
    }
    EXPECT_TRUE(document.endGesture("Opacity"));
    EXPECT_FALSE(document.gestureUnderWay());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(1.0f, model.patches[0].alpha);

    document.beginGesture();
    Model fresh;
    fresh.createDefault();
    document.replace(std::move(fresh), "", "", true);
    EXPECT_FALSE(document.gestureUnderWay());
}
