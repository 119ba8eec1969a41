// Undo and redo: each step puts back exactly what an operation changed, a long random run of
// operations undoes to the very file it started from, and the history keeps its limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <sstream>

#include "editor/document.h"
#include "editor/edit-xform.h"
#include "editor/editor-state.h"
#include "editor/locators.h"
#include "editor/model-history.h"
#include "editor/model-operations.h"
#include "editor/outline-view.h"
#include "editor/pending-points.h"
#include "editor/selection.h"
#include "editor/typed-coordinates.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "model/shape-outline.h"
#include "model/tree-item-param.h"

namespace {

// rows × columns patches sharing their edges, on a gently bent sheet.
Model sheet(int rows, int columns) {
    Model model;
    const int width = 3 * columns + 1;
    for (int r = 0; r < 3 * rows + 1; ++r)
        for (int c = 0; c < width; ++c)
            model.points.push_back({c * 0.25f, 0.1f * float((r * c) % 5), r * 0.25f});
    for (int pr = 0; pr < rows; ++pr)
        for (int pc = 0; pc < columns; ++pc) {
            Model::Patch patch;
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    patch.indices[size_t(4 * r + c)] = (3 * pr + r) * width + 3 * pc + c;
            model.patches.push_back(patch);
        }
    return model;
}

// The tree as a sorted outline of subtrees, with the "<New Points>" items' children lifted to
// the top level: the operations place items where the user works, a rebuild in file order.
// A group left without patches keeps its item until the next rebuild, which makes none.
std::string canonical(const MemoryTree& tree, TreeItemHandle parent = nullptr) {
    std::vector<std::string> parts;
    for (TreeItemHandle child : tree.childrenOf(parent)) {
        const std::optional<uint32_t> param = tree.itemParam(child);
        if (param && decodeTreeItemParam(*param).kind == TreeItemKind::Group &&
            !tree.firstChildOf(child))
            continue;
        std::string text = tree.itemText(child);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        if (!parent && text == "<New Points>") {
            std::istringstream lifted(canonical(tree, child));
            for (std::string line; std::getline(lifted, line);)
                if (!line.empty() && line[0] != ' ') parts.push_back(line + "\n");
            continue;
        }
        std::string below = canonical(tree, child), indented;
        std::istringstream lines(below);
        for (std::string line; std::getline(lines, line);)
            indented += "  " + line + "\n";
        parts.push_back(text + "\n" + indented);
    }
    std::sort(parts.begin(), parts.end());
    std::string out;
    for (const std::string& part : parts)
        out += part;
    return out;
}

// The shape window kept by the operations reads like one made from the model as it is.
void expectTreeLikeRebuild(Model& model, const MemoryTree& tree) {
    Model copy;
    copy.points = model.points;
    copy.patches = model.patches;
    for (const auto& g : model.groups)
        copy.groups.push_back(std::make_unique<Model::Group>(g->name));
    for (const Model::Locator& l : model.locators)
        copy.locators.push_back(l);
    MemoryTree fresh;
    rebuildShapeOutline(fresh, copy);
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (tree.items.patchItem(i) && tree.firstChildOf(tree.items.patchItem(i)))
            expandPatchItem(fresh, copy, i);
    EXPECT_EQ(canonical(fresh), canonical(tree));
    EXPECT_EQ(fresh.rows, tree.rows);
}

// The editor's document as the tests drive it: the document with the shape window as its
// view, the use counts and the add tool's points.
struct Editing {
    Model model;
    Document document{model};
    MemoryTree tree;
    OutlineView outline{tree};
    std::vector<int> use;
    PendingPoints pending;
    const History& history = document.history();

    explicit Editing(Model m) : model(std::move(m)) {
        rebuildShapeOutline(tree, model);
        rebuildUseCount(model, use);
        document.addView(&outline);
    }
    // One operation as one step, as the editor's commands record it.
    void edit(const char* name, const std::function<void()>& operation) {
        document.edit(name, [&](Model&) { operation(); });
        rebuildUseCount(model, use);
    }
    void record(ModelChange step) { document.record(std::move(step)); }
    bool undo() { return step(document.undo()); }
    bool redo() { return step(document.redo()); }

  private:
    bool step(bool taken) {
        rebuildUseCount(model, use);
        return taken;
    }
};

// A step that moved point i of a large pool by one in x.
ModelChange moved(uint32_t i) {
    static const Model pool = sheet(4, 4);
    Model after;
    after.points = pool.points;
    after.points[i].x += 1;
    return pointMove(after, i, pool.points[i], "Move point");
}

void selectOnly(Model& model, std::initializer_list<int> patches) {
    for (Model::Patch& p : model.patches)
        p.selected = false;
    for (int i : patches)
        model.patches[size_t(i)].selected = true;
}

} // namespace

TEST(History, UndoAndRedoOfADeletePutBackPatchesPointsAndSelection) {
    Editing d(sheet(2, 3));
    const std::string start = writeObj(d.model);
    selectOnly(d.model, {1, 4});
    d.edit("Delete", [&] { deleteSelection(d.model, d.pending); });
    const std::string deleted = writeObj(d.model);
    ASSERT_EQ(4u, d.model.patches.size());
    EXPECT_EQ("Delete", d.history.undoName());

    ASSERT_TRUE(d.undo());
    EXPECT_EQ(start, writeObj(d.model));
    EXPECT_TRUE(d.model.patches[1].selected && d.model.patches[4].selected);
    EXPECT_TRUE(d.model.indicesValid());
    expectTreeLikeRebuild(d.model, d.tree);
    EXPECT_FALSE(d.history.canUndo());
    EXPECT_EQ("Delete", d.history.redoName());

    ASSERT_TRUE(d.redo());
    EXPECT_EQ(deleted, writeObj(d.model));
    expectTreeLikeRebuild(d.model, d.tree);
}

TEST(History, GroupsSymmetriesAndUngroupComeAndGo) {
    Editing d(sheet(1, 4));
    selectOnly(d.model, {0, 1});
    d.edit("Symmetry", [&] { makeSymmetry(d.model); });
    ASSERT_TRUE(d.model.isSymmetry(d.model.patches[0].group));
    const std::string mirrored = writeObj(d.model);

    selectOnly(d.model, {1, 2});
    d.edit("Ungroup", [&] { ASSERT_TRUE(ungroupSelection(d.model)); });
    EXPECT_EQ(-1, d.model.patches[1].group); // it lost its mirrored copy
    EXPECT_EQ(0, d.model.patches[0].group);
    expectTreeLikeRebuild(d.model, d.tree);
    // Nothing selected in a group: no change, no step.
    selectOnly(d.model, {3});
    EXPECT_FALSE(ungroupSelection(d.model));

    ASSERT_TRUE(d.undo());
    EXPECT_EQ(mirrored, writeObj(d.model));
    ASSERT_TRUE(d.undo());
    EXPECT_TRUE(d.model.groups.empty());
    ASSERT_TRUE(d.redo());
    ASSERT_TRUE(d.model.isSymmetry(0)); // made again with its kind
    EXPECT_EQ("Sym_0", d.model.groups[0]->name);
    expectTreeLikeRebuild(d.model, d.tree);
}

TEST(History, MinusZeroIsAChangeAndPointMovesAreTiny) {
    Editing d(sheet(1, 1));
    d.model.points[0] = {0, 0, 0};
    const std::string before = writeObj(d.model);
    d.edit("Mirror", [&] { d.model.points[0].x = -0.0f; });
    ASSERT_TRUE(d.history.canUndo()); // written as -0.000000: a change to keep
    d.undo();
    EXPECT_EQ(before, writeObj(d.model));

    const vm::Float3 from = d.model.points[3];
    EXPECT_TRUE(pointMove(d.model, 3, from, "Move point").empty());
    d.model.points[3].z += 1;
    const ModelChange move = pointMove(d.model, 3, from, "Move point");
    EXPECT_LT(move.bytes(), 400u);
    History history;
    history.record(move);
    history.undo(d.model);
    EXPECT_EQ(16u, d.model.points.size()); // the pool keeps its size
    EXPECT_EQ(from.z, d.model.points[3].z);
}

TEST(History, SavedStateFollowsUndoRedoAndIsLostWithTheRedoBranch) {
    Model model = sheet(1, 2);
    History history;
    EXPECT_TRUE(history.atSaved());
    history.record(moved(0));
    EXPECT_FALSE(history.atSaved());
    history.markSaved();
    history.record(moved(1));
    EXPECT_FALSE(history.atSaved());
    history.undo(model);
    EXPECT_TRUE(history.atSaved()); // back as saved: no "*"
    history.undo(model);
    EXPECT_FALSE(history.atSaved());
    // A new step after undoing past the saved state: it can never come back.
    history.record(moved(2));
    EXPECT_FALSE(history.canRedo());
    history.undo(model);
    EXPECT_FALSE(history.atSaved());
    history.clear();
    EXPECT_TRUE(history.atSaved());
    history.markUnsaved();
    EXPECT_FALSE(history.atSaved());
}

TEST(History, KeepsItsLimitsFromTheFirstStepDroppingTheOldest) {
    // The byte bound holds from the first step on: whole-model moves of a large sheet fill it
    // at once; the oldest go, the newest always stays, and what is held is measured.
    Model model = sheet(30, 30);
    const size_t bound = 400000;
    History history(1000, bound);
    size_t dropped = 0;
    for (int step = 0; step < 12; ++step) {
        const ModelCopy before = copyOf(model);
        for (vm::Float3& p : model.points)
            p.x += 1;
        dropped += history.record(changeBetween(before, model, "Move all"));
        ASSERT_LE(history.bytes(), std::max(bound, history.nextUndo()->bytes()));
    }
    EXPECT_GT(dropped, 0u);
    EXPECT_EQ(12u, history.size() + dropped);
    size_t held = 0;
    while (const ModelChange* c = history.nextUndo()) {
        held += c->bytes();
        history.undo(model);
    }
    EXPECT_EQ(history.bytes(), held); // the count is of what the steps really hold
    // A step larger than the bound alone is still kept: the last change can always be undone.
    History tiny(1000, 10);
    tiny.record(moved(0));
    tiny.record(moved(1));
    EXPECT_EQ(1u, tiny.size());
    // The step count bound; small steps keep a long history.
    History counted(5);
    for (uint32_t i = 0; i < 8; ++i)
        counted.record(moved(i));
    EXPECT_EQ(5u, counted.size());
    History roomy;
    for (uint32_t i = 0; i < 300; ++i)
        roomy.record(moved(i % 40));
    EXPECT_EQ(300u, roomy.size());
    // The saved state dropped off the old end is gone for good.
    History short_(3);
    short_.markSaved();
    for (uint32_t i = 0; i < 4; ++i)
        short_.record(moved(i));
    while (short_.undo(model)) {
    }
    EXPECT_FALSE(short_.atSaved());
}

// Random operations on random models: undoing them all gives back the very file of the start,
// redoing them all the file of the end, and after every step the tree and list read like a
// fresh rebuild.
TEST(History, RandomOperationsUndoToTheStartAndRedoToTheEnd) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](int n) { return n > 0 ? int(random() % unsigned(n)) : 0; };
        Editing d(sheet(1 + pick(3), 1 + pick(4)));
        const ModelCopy startCopy = copyOf(d.model);
        const std::string start = writeObj(d.model);
        std::vector<std::string> files = {start};

        for (int step = 0; step < 40; ++step) {
            Model& m = d.model;
            for (Model::Patch& p : m.patches)
                p.selected = pick(3) == 0;
            const int points = int(m.points.size());
            switch (pick(11)) {
            case 0:
                d.edit("Group", [&] { groupSelection(m); });
                break;
            case 1:
                d.edit("Symmetry", [&] { makeSymmetry(m); });
                break;
            case 2:
                d.edit("Ungroup", [&] { ungroupSelection(m); });
                break;
            case 3:
                d.edit("Delete", [&] { deleteSelection(m, d.pending); });
                break;
            case 4:
                d.edit("Dissociate", [&] { dissociatePoint(m, pick(points)); });
                break;
            case 5:
                d.edit("Joint", [&] { jointPoints(m, d.pending, pick(points), pick(points)); });
                break;
            case 6: {
                if (m.points.empty()) break;
                const uint32_t i = uint32_t(pick(points));
                const vm::Float3 from = m.points[i];
                m.points[i].y += 0.5f;
                d.record(pointMove(m, i, from, "Move point"));
                break;
            }
            case 7: {
                EditorState editor;
                editor.transformDrag = true;
                editor.tool = pick(2) ? Tool::Rotate : Tool::Translate;
                editor.pivot = {float(pick(3)), 0, 1, 0};
                editor.sweepAngle = 0.3f * float(1 + pick(5));
                editor.translation = {0.5f, -0.25f * float(pick(3)), 0.1f, 0};
                d.edit("Transform", [&] { applyPreview(editor, m); });
                break;
            }
            case 8:
                d.edit("Add patch", [&] {
                    for (int k = 0; k < 16; ++k) {
                        const bool existing = pick(2) == 0 && points > 0;
                        addPendingPoint(d.pending, m, d.tree, existing,
                                        existing ? pick(points) : -1,
                                        {float(k), 1.0f, float(pick(4)), 1});
                    }
                });
                break;
            case 9:
                d.edit("Locator", [&] { addLocator(m, {float(pick(5)), 0, 0, 1}); });
                break;
            case 10:
                d.edit("Opacity", [&] {
                    for (Model::Patch& p : m.patches)
                        if (p.selected) p.alpha = 0.25f;
                });
                break;
            }
            // Selection changes between steps are no steps of their own; undo puts the
            // selection of each step back, so the files (which hold none) are compared.
            rebuildUseCount(m, d.use);
            ASSERT_TRUE(m.indicesValid());
            expectTreeLikeRebuild(m, d.tree);
            files.resize(d.history.position() + 1);
            files.back() = writeObj(m);
        }
        const std::string end = writeObj(d.model);

        for (size_t k = d.history.position(); k-- > 0;) {
            SCOPED_TRACE("undoing step " + std::to_string(k) + " " + d.history.undoName());
            ASSERT_TRUE(d.undo());
            EXPECT_EQ(files[k], writeObj(d.model));
            expectTreeLikeRebuild(d.model, d.tree);
        }
        EXPECT_FALSE(d.undo());
        EXPECT_EQ(start, writeObj(d.model));
        EXPECT_EQ(startCopy.points.size(), d.model.points.size());
        EXPECT_TRUE(copyOf(d.model).groups == startCopy.groups);

        while (d.redo())
            expectTreeLikeRebuild(d.model, d.tree);
        EXPECT_EQ(end, writeObj(d.model));
    }
}

TEST(TypedCoordinates, OnlyFiniteNumbersAreTaken) {
    EXPECT_EQ(1.5f, parseCoordinate("1.5"));
    EXPECT_EQ(-0.002f, parseCoordinate("  -2e-3 "));
    for (const char* bad : {"", "  ", "abc", "1.5x", "1,5", "nan", "inf", "-inf", "1e60", "0x"})
        EXPECT_FALSE(parseCoordinate(bad).has_value()) << bad;
}

TEST(TypedCoordinates, APointOrAWholePatchMovesAndIsOneUndoableStep) {
    Editing d(sheet(1, 2));
    const std::string start = writeObj(d.model);
    CoordinateSubject point{CoordinateSubject::Kind::Point, 5};
    const vm::Float3 from = d.model.points[5];
    EXPECT_EQ(std::vector<uint32_t>{5}, moveSubjectAxis(d.model, point, 1, 2.25f));
    EXPECT_EQ(2.25f, d.model.points[5].y);
    EXPECT_EQ(from.x, d.model.points[5].x);
    EXPECT_TRUE(moveSubjectAxis(d.model, point, 1, 2.25f).empty()); // already there
    d.record(pointMove(d.model, 5, from, "Type coordinates"));

    // The patch's centre goes where typed; its shared edge moves the neighbour's too.
    CoordinateSubject patch{CoordinateSubject::Kind::Patch, 1};
    const ModelCopy before = copyOf(d.model);
    const std::vector<uint32_t> moved = moveSubjectAxis(d.model, patch, 0, 10.0f);
    EXPECT_EQ(16u, moved.size());
    EXPECT_NEAR(10.0f, subjectPosition(d.model, patch)->x, 1e-4f);
    d.record(changeBetween(before, d.model, "Type coordinates"));
    d.undo();
    d.undo();
    EXPECT_EQ(start, writeObj(d.model));
    EXPECT_FALSE(subjectPosition(d.model, {CoordinateSubject::Kind::Patch, 9}).has_value());
}
