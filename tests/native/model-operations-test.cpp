#include <gtest/gtest.h>

#include <type_traits>

#include <sstream>
#include <utility>

#include "editor/box-selection.h"
#include "editor/document.h"
#include "editor/locators.h"
#include "editor/model-operations.h"
#include "editor/outline-view.h"
#include "editor/pending-points.h"
#include "editor/selection.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "model/shape-outline.h"
#include "model/tree-item-param.h"

namespace {

// n patches side by side; patch i's column 3 is patch i+1's column 0 (four shared points).
Model strip(int n) {
    Model model;
    const int width = 3 * n + 1;
    for (int r = 0; r < 4; ++r)
        for (int x = 0; x < width; ++x)
            model.points.push_back({float(x), float(r * r), float(r)});
    for (int i = 0; i < n; ++i) {
        Model::Patch patch;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                patch.indices[size_t(4 * r + c)] = r * width + 3 * i + c;
        model.patches.push_back(patch);
    }
    return model;
}

// The outline with the trailing spaces the rebuild writes and the partial updates do not.
std::string trimmedOutline(const MemoryTree& tree) {
    std::istringstream in(tree.outline());
    std::string line, text;
    while (std::getline(in, line)) {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}

// The tree and list kept in step by the operations look like a fresh rebuild.
void expectLikeRebuild(Model& model, const MemoryTree& tree) {
    Model copy;
    copy.points = model.points;
    copy.patches = model.patches;
    for (const auto& g : model.groups)
        copy.groups.push_back(std::make_unique<Model::Group>(g->name));
    MemoryTree fresh;
    rebuildShapeOutline(fresh, copy);
    // Expanded where the tree under test is: rows made from the model as it is now must
    // read as the rows the operation kept in step.
    for (size_t i = 0; i < model.patches.size(); ++i)
        if (tree.items.patchItem(i) && tree.firstChildOf(tree.items.patchItem(i)))
            expandPatchItem(fresh, copy, i);
    EXPECT_EQ(trimmedOutline(fresh), trimmedOutline(tree));
    EXPECT_EQ(fresh.rows, tree.rows);
}

// A document with the shape window as its view, every patch expanded so that rows and
// indices must follow each step.
struct Scene {
    Model model;
    Document document{model};
    MemoryTree tree;
    OutlineView outline{tree};
    std::vector<int> use;
    PendingPoints pending;
    explicit Scene(Model m) : model(std::move(m)) {
        rebuildShapeOutline(tree, model);
        for (size_t i = 0; i < model.patches.size(); ++i)
            expandPatchItem(tree, model, i);
        rebuildUseCount(model, use);
        document.addView(&outline);
    }
    // The operation as one edit of the document, as a command runs it; returns its result.
    template <typename Operation> auto edit(Operation operation) {
        using Result = decltype(operation(model));
        struct Done {
            Scene& scene;
            ~Done() { rebuildUseCount(scene.model, scene.use); }
        } done{*this};
        if constexpr (std::is_void_v<Result>) {
            document.edit("edit", operation);
        } else {
            Result result{};
            document.edit("edit", [&](Model& m) { result = operation(m); });
            return result;
        }
    }
};

} // namespace

TEST(ShapeOutline, GroupsPatchesRowsIndicesAndPoints) {
    Model model = strip(3);
    model.groups.push_back(std::make_unique<Model::Group>("wing"));
    model.patches[1].group = 0;
    MemoryTree tree;
    rebuildShapeOutline(tree, model);
    const auto& top = tree.childrenOf(nullptr);
    ASSERT_EQ(3u, top.size());
    EXPECT_EQ("patch 0 ", tree.itemText(top[0]));
    EXPECT_EQ("wing", tree.itemText(top[1]));
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Group, 0), tree.itemParam(top[1]));
    EXPECT_EQ(tree.items.patchItem(1), tree.childrenOf(top[1]).at(0));
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Patch, 1), tree.itemParam(tree.items.patchItem(1)));
    EXPECT_EQ("patch 2 ", tree.itemText(top[2]));
    // A patch's rows and indices are made when it is expanded, once.
    EXPECT_TRUE(tree.childrenOf(top[2]).empty());
    EXPECT_TRUE(expandPatchItem(tree, model, 2));
    EXPECT_FALSE(expandPatchItem(tree, model, 2));
    const auto& rows = tree.childrenOf(top[2]);
    ASSERT_EQ(4u, rows.size());
    EXPECT_EQ("[3][..] ", tree.itemText(rows[3]));
    EXPECT_FALSE(tree.itemParam(rows[3]).has_value());
    EXPECT_EQ("36 ", tree.itemText(tree.childrenOf(rows[3]).at(0))); // 3 · 10 + 6
    ASSERT_EQ(40u, tree.rows.size());
    EXPECT_EQ("11 1.000000 1.000000 1.000000 ", tree.rows[11]);
}

// A long list of patches is a list of folders, filled when opened; a delete and its undo keep
// each folder's items and drop or bring back the folders past the end; a shorter model is a
// plain list again.
TEST(ShapeOutline, LongListsComeInFoldersFilledWhenOpened) {
    Model long_ = strip(2500);
    long_.groups.push_back(std::make_unique<Model::Group>("wing"));
    long_.patches[5].group = long_.patches[1500].group = 0;
    Scene scene(std::move(long_));
    MemoryTree& tree = scene.tree;
    Model& model = scene.model;
    auto top = [&] { return tree.childrenOf(nullptr); };
    ASSERT_EQ(4u, top().size());
    EXPECT_EQ("patches 0-999 ", tree.itemText(top()[0]));
    EXPECT_EQ("wing", tree.itemText(top()[1]));
    EXPECT_EQ("patches 2000-2499 ", tree.itemText(top()[3]));
    EXPECT_EQ(6u, tree.size()); // and the wing's two folders: no patch item yet
    EXPECT_EQ(nullptr, tree.items.patchItem(1999));
    const TreeItemHandle second = top()[2];
    ASSERT_TRUE(fillFolder(tree, model, second));
    EXPECT_FALSE(fillFolder(tree, model, second));
    EXPECT_EQ(999u, tree.childrenOf(second).size()); // patch 1500 is in the wing
    EXPECT_EQ("patch 1999 ", tree.itemText(tree.items.patchItem(1999)));
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Patch, 1999),
              tree.itemParam(tree.items.patchItem(1999)));

    for (size_t i = 1900; i < 2500; ++i)
        model.patches[i].selected = true;
    scene.edit([&](Model& m) { deleteSelection(m, scene.pending); });
    ASSERT_EQ(3u, top().size());
    EXPECT_EQ(899u, tree.childrenOf(second).size());
    EXPECT_EQ("patches 1000-1899 ", tree.itemText(second));
    ASSERT_TRUE(scene.document.undo());
    ASSERT_EQ(4u, top().size());
    EXPECT_EQ(999u, tree.childrenOf(second).size());
    EXPECT_EQ("patches 1000-1999 ", tree.itemText(second));
    EXPECT_EQ("patch 1999 ", tree.itemText(tree.items.patchItem(1999)));

    for (size_t i = 1000; i < 2500; ++i)
        model.patches[i].selected = true;
    scene.edit([&](Model& m) { deleteSelection(m, scene.pending); });
    EXPECT_EQ(1000u, top().size()); // 999 patches and the wing
    EXPECT_EQ("patch 0 ", tree.itemText(top()[0]));
}

TEST(ShapeOutline, LocatorNamesBelongToTheModelAndSurviveAnyTree) {
    Model model = strip(1);
    MemoryTree tree;
    addLocator(model, {1, 2, 3, 1});
    model.locators.at(0).name = "Nose";
    model.groups.push_back(std::make_unique<Model::Group>("empty"));
    rebuildShapeOutline(tree, model);
    EXPECT_EQ("patch 0 ", tree.itemText(tree.childrenOf(nullptr).at(0)));
    EXPECT_EQ("Nose", tree.itemText(tree.items.locatorItem(0)));
    EXPECT_EQ(2u, tree.childrenOf(nullptr).size());
    EXPECT_EQ(nullptr, tree.pendingPointsItem);

    // The items go (the shape window closed, a tree emptied by hand): the name stays and is
    // what the file gets, never a placeholder.
    tree.deleteAllItems();
    EXPECT_NE(std::string::npos, writeObj(model).find("locator\r\nNose\r\n"));
    MemoryTree fresh;
    rebuildShapeOutline(fresh, model);
    EXPECT_EQ("Nose", fresh.itemText(fresh.items.locatorItem(0)));
    // One without a name is shown as the file would name it; the tree writes nothing into
    // the model it shows.
    model.locators.push_back({});
    rebuildShapeOutline(fresh, std::as_const(model));
    EXPECT_EQ("Locator_1", fresh.itemText(fresh.items.locatorItem(1)));
    EXPECT_EQ("", model.locators[1].name);
}

TEST(PendingPoints, TakingBackRemovesThatPointsItemOnly) {
    Model model = strip(1);
    MemoryTree tree;
    PendingPoints pending;
    for (float x : {0.0f, 1.0f, 2.0f})
        addPendingPoint(pending, model, tree, false, -1, {x, 0, 0, 1});
    ASSERT_EQ(3u, tree.childrenOf(tree.pendingPointsItem).size());

    ASSERT_TRUE(removeLastPendingPoint(pending, tree));
    ASSERT_TRUE(removeLastPendingPoint(pending, tree));
    const auto left = tree.childrenOf(tree.pendingPointsItem);
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(pending[0]->treeItem, left[0]);
}

TEST(Grouping, SelectedPatchesGoUnderANewGroupAfterTheFirst) {
    Scene s(strip(6));
    s.model.patches[2].selected = s.model.patches[5].selected = true;
    s.edit(groupSelection);
    ASSERT_EQ(1u, s.model.groups.size());
    EXPECT_EQ("group_0", s.model.groups[0]->name);
    EXPECT_EQ(0, s.model.patches[2].group);
    EXPECT_EQ(0, s.model.patches[5].group);
    EXPECT_EQ(-1, s.model.patches[3].group);
    const auto& top = s.tree.childrenOf(nullptr);
    ASSERT_EQ(5u, top.size()); // 0 1 group_0 3 4
    EXPECT_EQ(s.tree.items.groupItem(0), top[2]);
    EXPECT_EQ((std::vector<TreeItemHandle>{s.tree.items.patchItem(2), s.tree.items.patchItem(5)}),
              s.tree.childrenOf(top[2]));
    EXPECT_TRUE(s.model.patches[2].selected); // the selection stays, the group is not selected
    EXPECT_FALSE(s.model.groups[0]->selected);

    // Moving both into a second group leaves group_0 empty but there.
    s.edit(groupSelection);
    ASSERT_EQ(2u, s.model.groups.size());
    EXPECT_EQ("group_1", s.model.groups[1]->name);
    EXPECT_EQ(1, s.model.patches[2].group);
    // Groups are never nested; the empty group_0 shows no item.
    EXPECT_EQ(nullptr, s.tree.items.groupItem(0));
    EXPECT_EQ(s.tree.items.groupItem(1), s.tree.childrenOf(nullptr)[2]);
    EXPECT_EQ(2u, s.tree.childrenOf(s.tree.items.groupItem(1)).size());

    for (auto& p : s.model.patches)
        p.selected = false;
    s.edit(groupSelection); // nothing selected: nothing made
    EXPECT_EQ(2u, s.model.groups.size());
}

TEST(Grouping, NewGroupsAndSymmetriesTakeTheFirstUnusedNameAndSurviveAReread) {
    Scene s(strip(3));
    s.model.patches[0].selected = true;
    s.edit(makeSymmetry);
    for (auto& p : s.model.patches)
        p.selected = false;
    s.model.patches[2].selected = true;
    s.edit(makeSymmetry);
    ASSERT_TRUE(s.model.isSymmetry(0));
    ASSERT_TRUE(s.model.isSymmetry(1));
    EXPECT_EQ(s.tree.items.groupItem(1), s.tree.childrenOf(nullptr).back());
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Group, 1),
              s.tree.itemParam(s.tree.items.groupItem(1)));

    EXPECT_EQ("Sym_0", s.model.groups[0]->name);
    EXPECT_EQ("Sym_1", s.model.groups[1]->name);

    const std::string text = writeObj(s.model);
    Model back;
    MemoryTree backTree;
    ASSERT_TRUE(readObj(text, back, &backTree).ok());
    ASSERT_EQ(2u, back.groups.size());
    EXPECT_TRUE(back.isSymmetry(0) && back.isSymmetry(1));
    EXPECT_EQ(0, back.patches[0].group);
    EXPECT_EQ(1, back.patches[2].group);
    EXPECT_EQ(-1, back.patches[1].group);

    // Names already taken, by either kind, are skipped; a freed one is taken again.
    Scene t(strip(3));
    t.model.groups.push_back(std::make_unique<Model::Group>("group_0"));
    t.model.groups.push_back(std::make_unique<Model::Symmetry>("group_1"));
    t.model.groups.push_back(std::make_unique<Model::Group>("Sym_0"));
    t.model.patches[1].selected = true;
    t.edit(groupSelection);
    EXPECT_EQ("group_2", t.model.groups.back()->name);
    t.edit(makeSymmetry);
    EXPECT_EQ("Sym_1", t.model.groups.back()->name);
    t.model.groups[0]->name = "renamed";
    t.edit(groupSelection);
    EXPECT_EQ("group_0", t.model.groups.back()->name);

    Scene none(strip(1)); // with nothing selected the symmetry is still made
    none.edit(makeSymmetry);
    EXPECT_EQ(1u, none.model.groups.size());
}

TEST(Grouping, FirstLocatorIsLocator0Unrotated) {
    Scene s(strip(1));
    s.edit([](Model& m) { addLocator(m, {1, 2, 3, 1}); });
    s.edit([](Model& m) { addLocator(m, {4, 5, 6, 1}); });
    EXPECT_EQ("Locator_0", s.tree.itemText(s.tree.items.locatorItem(0)));
    EXPECT_EQ("Locator_1", s.tree.itemText(s.tree.items.locatorItem(1)));
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Locator, 1),
              s.tree.itemParam(s.tree.items.locatorItem(1)));
    const vm::Quat q = s.model.locators[0].orientation;
    EXPECT_EQ(0.0f, q.x);
    EXPECT_EQ(0.0f, q.y);
    EXPECT_EQ(0.0f, q.z);
    EXPECT_EQ(1.0f, q.w);
}

TEST(Dissociate, TheHigherPatchGetsACopyAFifthOfTheWayToItsCentroid) {
    // Patches 1 and 3 of four share point k; nothing else uses it.
    Model model = strip(4);
    const int k = 99;
    model.points.push_back({2, 7, -1});
    model.patches[1].indices[5] = k - 99 + int(model.points.size()) - 1;
    model.patches[3].indices[10] = int(model.points.size()) - 1;
    const int shared = int(model.points.size()) - 1;
    Scene s(std::move(model));
    const Model::Patch before = s.model.patches[3];
    ASSERT_TRUE(s.edit([&](Model& m) { return dissociatePoint(m, shared); }));
    const int n = int(s.model.points.size()) - 1;
    EXPECT_EQ(shared, s.model.patches[1].indices[5]);
    EXPECT_EQ(n, s.model.patches[3].indices[10]);
    vm::Float3 m{0, 0, 0};
    for (int slot = 0; slot < 16; ++slot)
        if (slot != 10) {
            const vm::Float3& q = s.model.points[size_t(before.indices[size_t(slot)])];
            m = {m.x + q.x / 15, m.y + q.y / 15, m.z + q.z / 15};
        }
    const vm::Float3 p = s.model.points[size_t(shared)], q = s.model.points[size_t(n)];
    EXPECT_NEAR(p.x + 0.2f * (m.x - p.x), q.x, 1e-5);
    EXPECT_NEAR(p.y + 0.2f * (m.y - p.y), q.y, 1e-5);
    EXPECT_NEAR(p.z + 0.2f * (m.z - p.z), q.z, 1e-5);
    EXPECT_EQ(1, s.use[size_t(n)]);
    EXPECT_EQ(1, s.use[size_t(shared)]); // counted again: patch 1 alone uses it now
    expectLikeRebuild(s.model, s.tree);

    // Now only patch 1 uses it: nothing to split.
    EXPECT_FALSE(s.edit([&](Model& m) { return dissociatePoint(m, shared); }));
}

TEST(Dissociate, APointSharedWithAHiddenPatchStays) {
    Scene s(strip(2));
    s.model.patches[0].visible = false;
    const size_t count = s.model.points.size();
    EXPECT_FALSE(s.edit([&](Model& m) { return dissociatePoint(m, 3); })); // the shared column
    EXPECT_EQ(count, s.model.points.size());
    s.model.patches[0].visible = true;
    EXPECT_TRUE(s.edit([&](Model& m) { return dissociatePoint(m, 3); }));
    EXPECT_EQ(count, size_t(s.model.patches[1].indices[0]));
    EXPECT_FALSE(s.edit([&](Model& m) { return dissociatePoint(m, -1); }));
    EXPECT_FALSE(s.edit([&](Model& m) { return dissociatePoint(m, 1000); }));
}

TEST(Joint, MergingTwoIntoSevenFillsSevenWithTheLast) {
    Model model;
    for (int i = 0; i < 10; ++i)
        model.points.push_back({float(i), 0, 0});
    Model::Patch a, b;
    for (int i = 0; i < 16; ++i) {
        a.indices[size_t(i)] = i % 10;
        b.indices[size_t(i)] = 9 - i % 10;
    }
    model.patches = {a, b};
    Scene s(std::move(model));
    s.pending.push_back(std::make_unique<Editor::ExistingPoint>(s.model, 9));
    s.pending.push_back(std::make_unique<Editor::ExistingPoint>(s.model, 7));
    EXPECT_FALSE(s.edit([&](Model& m) { return jointPoints(m, s.pending, 2, 2); }));
    EXPECT_FALSE(s.edit([&](Model& m) { return jointPoints(m, s.pending, 2, -1); }));
    ASSERT_TRUE(s.edit([&](Model& m) { return jointPoints(m, s.pending, 2, 7); }));
    EXPECT_EQ(9u, s.model.points.size());
    EXPECT_EQ(9.0f, s.model.points[7].x);
    EXPECT_EQ(2, s.model.patches[0].indices[7]);
    EXPECT_EQ(7, s.model.patches[0].indices[9]);
    EXPECT_EQ(7, s.model.patches[1].indices[0]);
    EXPECT_EQ(2, s.model.patches[1].indices[2]);
    EXPECT_TRUE(s.model.indicesValid());
    EXPECT_EQ(9u, s.use.size());
    EXPECT_EQ(9.0f, s.pending[0]->position().x); // the pending points follow their points
    EXPECT_EQ(2.0f, s.pending[1]->position().x);
    expectLikeRebuild(s.model, s.tree);

    // Merging the last point into another: the merged point ends at b's index.
    ASSERT_TRUE(s.edit([&](Model& m) { return jointPoints(m, s.pending, 8, 0); }));
    EXPECT_EQ(8u, s.model.points.size());
    EXPECT_EQ(8.0f, s.model.points[0].x);
    EXPECT_TRUE(s.model.indicesValid());
    expectLikeRebuild(s.model, s.tree);
}

TEST(Delete, EveryPatchLeavesNoPoints) {
    Scene s(strip(3));
    selectAll(s.model);
    s.edit([&](Model& m) { deleteSelection(m, s.pending); });
    EXPECT_TRUE(s.model.points.empty());
    EXPECT_TRUE(s.model.patches.empty());
    EXPECT_TRUE(s.use.empty());
    EXPECT_TRUE(s.tree.rows.empty());
    EXPECT_EQ(0u, s.tree.size());
}

TEST(Delete, SharedPointsStayAndTheHighestFillTheGaps) {
    Scene s(strip(3));
    s.pending.push_back(std::make_unique<Editor::ExistingPoint>(s.model, 1));  // goes with patch 0
    s.pending.push_back(std::make_unique<Editor::ExistingPoint>(s.model, 39)); // moves down
    const vm::Float3 kept = s.model.points[39];
    s.model.patches[0].selected = true;
    s.edit([&](Model& m) { deleteSelection(m, s.pending); });
    ASSERT_EQ(2u, s.model.patches.size());
    EXPECT_EQ(28u, s.model.points.size()); // 40 less patch 0's twelve unshared points
    EXPECT_TRUE(s.model.indicesValid());
    // The shared column (x = 3) is still there, and every remaining patch keeps its shape.
    for (int r = 0; r < 4; ++r) {
        const vm::Float3& p = s.model.points[size_t(s.model.patches[0].indices[size_t(4 * r)])];
        EXPECT_EQ(3.0f, p.x);
        EXPECT_EQ(float(r), p.z);
        EXPECT_EQ(9.0f, s.model.points[size_t(s.model.patches[1].indices[size_t(4 * r + 3)])].x);
    }
    for (const auto& p : s.model.patches)
        EXPECT_FALSE(p.selected);
    EXPECT_EQ("patch 0 ", s.tree.itemText(s.tree.items.patchItem(0))); // renumbered
    EXPECT_EQ(encodeTreeItemParam(TreeItemKind::Patch, 1),
              s.tree.itemParam(s.tree.items.patchItem(1)));
    expectLikeRebuild(s.model, s.tree);
    EXPECT_EQ(1.0f, s.pending[0]->position().x); // a new point where the old one was
    EXPECT_EQ(nullptr, dynamic_cast<Editor::ExistingPoint*>(s.pending[0].get()));
    EXPECT_EQ(kept.x, s.pending[1]->position().x);
    EXPECT_EQ(kept.y, s.pending[1]->position().y);
    for (int count : s.use)
        EXPECT_GE(count, 1);

    // Nothing selected: nothing to take away.
    s.edit([&](Model& m) { deleteSelection(m, s.pending); });
    EXPECT_EQ(28u, s.model.points.size());
}

TEST(Selection, FramingTakesTheSelectionElseTheShownPatches) {
    Model model = strip(3);
    vm::Vec4 min, max;
    ASSERT_TRUE(frameBounds(model, min, max));
    EXPECT_EQ(0.0f, min.x);
    EXPECT_EQ(9.0f, max.x);
    model.patches[1].selected = true;
    ASSERT_TRUE(frameBounds(model, min, max));
    EXPECT_EQ(3.0f, min.x);
    EXPECT_EQ(6.0f, max.x);
    model.patches[1].selected = false;
    model.patches[2].visible = false; // hidden patches are not framed
    ASSERT_TRUE(frameBounds(model, min, max));
    EXPECT_EQ(6.0f, max.x);
    EXPECT_FALSE(frameBounds(Model{}, min, max));
}

// Seen from straight above with an orthographic-like matrix (x, z → screen x, y), patch i of
// the strip spans x 3i … 3i + 3.
TEST(BoxSelection, PatchesWhollyInsideAreChosenAsClicksWould) {
    Model model = strip(4);
    vm::Mat4 m = vm::identity();
    // Screen x = x / 6 − 1, screen y = z / 3 − 0.5: the strip lies across −1 … 1.
    m[0][0] = 1.0f / 6;
    m[3][0] = -1;
    m[0][1] = 0;
    m[2][1] = 1.0f / 3;
    m[3][1] = -0.5f;
    m[1][1] = 0;
    const auto firstTwo = patchesInBox(model, m, {-1.01f, -1, 0.01f, 1});
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), firstTwo);
    EXPECT_EQ((std::vector<uint32_t>{0, 1}), patchesInBox(model, m, {0.01f, 1, -1.01f, -1}));
    EXPECT_EQ((std::vector<uint32_t>{1}), patchesInBox(model, m, {-0.9f, -1, 0.01f, 1}));
    model.patches[1].visible = false; // hidden patches are never selected
    EXPECT_EQ((std::vector<uint32_t>{0}), patchesInBox(model, m, {-1.01f, -1, 0.01f, 1}));
    model.patches[1].visible = true;

    model.patches[3].selected = true;
    selectBox(model, firstTwo, {});
    EXPECT_TRUE(model.patches[0].selected && model.patches[1].selected);
    EXPECT_FALSE(model.patches[3].selected); // a plain box replaces the selection
    selectBox(model, {3}, {false, true});
    EXPECT_TRUE(model.patches[0].selected && model.patches[3].selected); // Shift adds
    selectBox(model, {1, 2}, {true, false});
    EXPECT_FALSE(model.patches[1].selected); // Control toggles
    EXPECT_TRUE(model.patches[2].selected);
}
