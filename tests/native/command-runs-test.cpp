// Every command of the table run on five models: none crashes, one that can run changes
// something or says why not, one that cannot changes nothing, and an undo of what it did
// gives the model back byte for byte.
#include <gtest/gtest.h>

#include "bench/generated-model.h"
#include "editor/command-status.h"
#include "editor/command-table.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/patch-copies.h"

#include "join-checks.h"

namespace {

struct FakeHost : CommandHost {
    std::vector<CommandId> ran;
    std::string clipboard;
    std::optional<PointerSpot> spot;
    int clipboardWrites = 0;
    CommandOutcome run(CommandId id) override {
        ran.push_back(id);
        return {true, ""};
    }
    // No recent files and no reference picture.
    bool canRun(CommandId id) const override {
        return id != CommandId::OpenRecent &&
               (id < CommandId::RemovePicture || id > CommandId::PictureLessOpaque);
    }
    bool putOnClipboard(const std::string& text) override {
        clipboard = text;
        ++clipboardWrites;
        return true;
    }
    std::optional<std::string> clipboardText() override { return clipboard; }
    std::optional<PointerSpot> patchUnderPointer() const override { return spot; }
};

struct StepCount : DocumentView {
    int steps = 0;
    void documentChanged(const Document&, const DocumentChange& change) override {
        steps += change.kind == DocumentChange::Kind::Edit;
    }
};

enum class Start { Empty, NothingSelected, Symmetry, Teapot, Sheet };

// The model, with a selection and chosen points on it where it has patches.
void prepare(Start start, Model& model, EditorState& editor, FakeHost& host) {
    constexpr int kSheetSide = 100, kSelected = 10;
    if (start == Start::NothingSelected || start == Start::Symmetry) model.createDefault();
    if (start == Start::Teapot) model = teapot();
    if (start == Start::Sheet) { // made once, copied for each command
        static const Model sheet = [] {
            Model m;
            generateSheet(m, kSheetSide, kSheetSide);
            return m;
        }();
        model.points = sheet.points;
        model.patches = sheet.patches;
        for (const auto& group : sheet.groups)
            model.groups.push_back(std::make_unique<Model::Group>(group->name));
    }
    if (start == Start::Symmetry) {
        model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
        for (Model::Patch& patch : model.patches)
            patch.group = 0;
    }
    if (start == Start::Empty || start == Start::NothingSelected) return;
    for (int p = 0; p < kSelected && p < static_cast<int>(model.patches.size()); ++p)
        model.patches[static_cast<size_t>(p)].selected = true;
    editor.choosingPoints = true;
    editor.chosenPoints.choose(pointsOfSelectedPatches(model), {}, model.points.size());
    host.clipboard = selectionText(model);
    host.spot = PointerSpot{1, 0.3f, 0.6f};
    editor.hotPoint = true;
    editor.hoveredPoint = 0;
}

// The model's bytes as the file keeps them (points, patches, groups, locators), then what a
// command may change besides: the selection, the editor's state, the host.
std::string bytes(const Model& model) {
    std::string text;
    const auto raw = [&](const auto& value) {
        text.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    text.append(reinterpret_cast<const char*>(model.points.data()),
                model.points.size() * sizeof(vm::Float3));
    for (const Model::Patch& p : model.patches) {
        raw(p.indices);
        raw(p.group);
        raw(p.alpha);
        raw(p.visible);
    }
    for (size_t g = 0; g < model.groups.size(); ++g) {
        text += model.groups[g]->name;
        raw(model.groups[g]->visible);
        raw(model.isSymmetry(static_cast<int>(g)));
    }
    for (const Model::Locator& l : model.locators) {
        text += l.name;
        raw(l.position);
        raw(l.orientation);
    }
    return text;
}

std::string snapshot(const Model& model, const EditorState& editor, const FakeHost& host) {
    std::string text = bytes(model) + "|";
    for (const Model::Patch& patch : model.patches)
        text += patch.selected ? '1' : '0';
    for (const auto& group : model.groups)
        text += group->selected ? '1' : '0';
    return text + "|" + std::to_string(editor.chosenPoints.size()) +
           std::to_string(editor.choosingPoints) + std::to_string(editor.shaded) +
           std::to_string(editor.showJoins) + std::to_string(editor.chosenPivot.has_value()) +
           std::to_string(editor.zebra) + std::to_string(editor.stripeTurn) +
           std::to_string(editor.stripeBands) + std::to_string(editor.curvature) +
           std::to_string(static_cast<int>(editor.curvatureKind)) +
           std::to_string(editor.liveJoins) + "|" +
           std::to_string(host.ran.size()) + std::to_string(host.clipboardWrites);
}

} // namespace

TEST(CommandRuns, EveryCommandOnFiveModelsRunsOrSaysWhyAndUndoesToTheSameBytes) {
    for (Start start :
         {Start::Empty, Start::NothingSelected, Start::Symmetry, Start::Teapot, Start::Sheet})
        for (const Command& command : commandTable()) {
            Model model;
            EditorState editor;
            FakeHost host;
            prepare(start, model, editor, host);
            Document document(model);
            StepCount steps;
            document.addView(&steps);
            CommandContext context{document, editor, host};
            const std::string file = bytes(model), before = snapshot(model, editor, host);
            const bool runnable = canRun(command, context);
            const CommandOutcome outcome = runCommand(command.id, context);
            const std::string where =
                std::string(command.name) + " on model " + std::to_string(static_cast<int>(start));
            // One line in the status bar, whatever happened.
            const std::string line = statusLine(command, outcome, context);
            EXPECT_TRUE(!line.empty() && line.find('\n') == std::string::npos) << where;
            if (!runnable) {
                EXPECT_TRUE(before == snapshot(model, editor, host)) << where;
                EXPECT_FALSE(outcome.ran) << where;
            }
            if (outcome.ran)
                EXPECT_FALSE(before == snapshot(model, editor, host)) << where;
            else
                EXPECT_FALSE(outcome.text.empty()) << where;
            EXPECT_TRUE(model.indicesValid()) << where;
            if (steps.steps == 0) continue;
            EXPECT_TRUE(outcome.ran) << where;
            document.undo();
            EXPECT_TRUE(file == bytes(model)) << where;
        }
}

TEST(CommandRuns, SelectNoneEmptiesTheChoiceThenThePatchesAndThenSaysWhy) {
    Model model;
    EditorState editor;
    FakeHost host;
    prepare(Start::Teapot, model, editor, host);
    Document document(model);
    CommandContext context{document, editor, host};
    EXPECT_TRUE(runCommand(CommandId::SelectNone, context).ran); // the chosen points
    EXPECT_TRUE(editor.chosenPoints.empty());
    EXPECT_TRUE(model.patches[0].selected);
    editor.choosingPoints = false;
    EXPECT_TRUE(runCommand(CommandId::SelectNone, context).ran); // the patches
    EXPECT_TRUE(std::none_of(model.patches.begin(), model.patches.end(),
                             [](const Model::Patch& p) { return p.selected; }));
    EXPECT_EQ("select none: no patch is selected", runCommand(CommandId::SelectNone, context).text);
}

TEST(CommandRuns, ConfirmationsNameWhatWasDone) {
    Model model;
    EditorState editor;
    FakeHost host;
    prepare(Start::Teapot, model, editor, host);
    editor.choosingPoints = false;
    Document document(model);
    CommandContext context{document, editor, host};
    const auto said = [&](CommandId id) {
        return statusLine(command(id), runCommand(id, context), context);
    };
    EXPECT_EQ("Nothing selected", said(CommandId::SelectNone));
    model.patches[0].selected = true;
    EXPECT_EQ("Copied 1 patch", said(CommandId::Copy));
    EXPECT_EQ("Deleted 1 patch", said(CommandId::Delete));
    EXPECT_EQ("Undid Delete", said(CommandId::Undo));
    EXPECT_EQ("Redid Delete", said(CommandId::Redo));
    EXPECT_EQ(std::to_string(model.patches.size()) + " patches selected",
              said(CommandId::SelectAll));
    const bool wasShaded = editor.shaded;
    EXPECT_EQ(wasShaded ? "Shaded off" : "Shaded on", said(CommandId::Shaded));
    EXPECT_EQ("Nothing saved", statusLine(command(CommandId::SaveAs), {true, ""}, context));
    EXPECT_EQ(
        "Exported wing.stp: 10 surfaces",
        statusLine(command(CommandId::Export), {true, "Exported wing.stp: 10 surfaces"}, context));
}
