// The shape window's controls and the model commands on the running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "editor/selection.h"
#include "model/shape-outline.h"
#include "tools-fixture.h"
#include "ui/win32/palette.h"
#include "ui/win32/shape-window.h"

namespace {

class ShapeWindowTest : public ToolsTest {
  protected:
    std::string text(HWND w) { return windowText(w); }
    std::string listRow(size_t row) { return shell().shape.pointListRowText(row); }
    // Expands an item as a click on its button does.
    void expand(TreeItemHandle item) {
        SendMessageA(shell().shapeHandles.tree, TVM_EXPAND, TVE_EXPAND,
                     reinterpret_cast<LPARAM>(item));
        pumpMessages();
    }
    size_t listCount() {
        pumpMessages(); // the list takes its count once an operation is done
        return static_cast<size_t>(SendMessageA(shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0));
    }
    std::vector<std::string> topLevelTexts() {
        std::vector<std::string> texts;
        for (TreeItemHandle i = shell().shape.tree().firstChildOf(nullptr); i;
             i = shell().shape.tree().nextSiblingOf(i))
            texts.push_back(shell().shape.tree().itemText(i));
        return texts;
    }
    void chooseItem(TreeItemHandle item) {
        SendMessageA(shell().shapeHandles.tree, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(item));
        pumpMessages();
    }
    std::string storedSelection() {
        return sessionSettings().readString("Tool", "SelectedPatches", "?", 560);
    }
    // Every list row and patch item says what the model holds.
    void expectInStep() {
        const Model& model = shell().ship;
        ASSERT_EQ(model.points.size(), listCount());
        for (size_t i = 0; i < model.points.size(); ++i)
            EXPECT_EQ(pointRowText(i, model.points[i]), listRow(i));
        for (size_t i = 0; i < model.patches.size(); ++i)
            EXPECT_EQ("patch " + std::to_string(i) + " ",
                      shell().shape.tree().itemText(shell().shape.tree().items.patchItem(i)));
    }
    // The first point that two shown patches use.
    size_t sharedPoint() {
        for (size_t i = 0; i < shell().editor.useCount.size(); ++i)
            if (shell().editor.useCount[i] >= 2) return i;
        return 0;
    }
};

} // namespace

TEST_F(ShapeWindowTest, StartUpListsPatchesRowsIndicesAndPoints) {
    EXPECT_EQ((std::vector<std::string>{"patch 0 ", "patch 1 ", "patch 2 ", "patch 3 "}),
              topLevelTexts());
    const Model::Patch& patch = shell().ship.patches[3];
    const TreeItemHandle item = shell().shape.tree().items.patchItem(3);
    // A patch's rows are made when it is expanded.
    EXPECT_EQ(nullptr, shell().shape.tree().firstChildOf(item));
    expand(item);
    TreeItemHandle row2 = shell().shape.tree().childAt(item, 2);
    EXPECT_EQ("[2][..] ", shell().shape.tree().itemText(row2));
    EXPECT_EQ(std::to_string(patch.indices[9]) + " ",
              shell().shape.tree().itemText(shell().shape.tree().childAt(row2, 1)));
    expectInStep();

    // Choosing a row of the list shows its coordinates, six decimals and a space.
    SendMessageA(shell().shapeHandles.pointList, LB_SETCURSEL, 5, 0);
    SendMessageA(shell().shapeHandles.window, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(shell().shapeHandles.pointList));
    char expected[64];
    std::snprintf(expected, sizeof expected, "%f ", static_cast<double>(shell().ship.points[5].y));
    EXPECT_EQ(expected, text(shell().shapeHandles.coordinateBoxes[1]));
}

TEST_F(ShapeWindowTest, ChoosingTreeItemsSelects) {
    chooseItem(shell().shape.tree().items.patchItem(2));
    EXPECT_TRUE(shell().ship.patches[2].selected);
    EXPECT_EQ("2", storedSelection());
    // A row or an index item chooses its patch.
    expand(shell().shape.tree().items.patchItem(1));
    chooseItem(shell().shape.tree().childAt(
        shell().shape.tree().childAt(shell().shape.tree().items.patchItem(1), 3), 0));
    EXPECT_EQ("1", selectedPatchesText(shell().ship));
    // A locator chooses nothing.
    paletteClick(palette::Locator);
    mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    chooseItem(shell().shape.tree().items.locatorItem(0));
    EXPECT_EQ("1", selectedPatchesText(shell().ship));
    // A rebuild moves the tree's selection without touching the editor's.
    shell().shape.rebuild();
    EXPECT_EQ("1", selectedPatchesText(shell().ship));
    EXPECT_EQ("Locator_0",
              shell().shape.tree().itemText(shell().shape.tree().items.locatorItem(0)));
}

TEST_F(ShapeWindowTest, AlphaSliderSetsTheSelectedPatches) {
    chooseItem(shell().shape.tree().items.patchItem(1));
    EXPECT_TRUE(IsWindowEnabled(shell().shapeHandles.alphaSlider));
    SendMessageA(shell().shapeHandles.alphaSlider, TBM_SETPOS, TRUE, 50);
    SendMessageA(shell().shapeHandles.window, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(shell().shapeHandles.alphaSlider));
    EXPECT_EQ(0.5f, shell().ship.patches[1].alpha);
    EXPECT_EQ(1.0f, shell().ship.patches[0].alpha);
    EXPECT_EQ("Untitled* - Tavrel", title());
    SendMessageA(shell().shapeHandles.window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 25),
                 reinterpret_cast<LPARAM>(shell().shapeHandles.alphaSlider));
    EXPECT_EQ(0.25f, shell().ship.patches[1].alpha);
}

TEST_F(ShapeWindowTest, DraggingAPointShowsItsCoordinates) {
    shell().camera.gamma = 0.3f;
    const size_t index = 0;
    const POINT p = pointOnScreen(index);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_TRUE(shell().editor.hotPoint);
    const size_t hovered = static_cast<size_t>(shell().editor.hoveredPoint);
    mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    mouse(WM_MOUSEMOVE, p.x + 30, p.y + 10, MK_LBUTTON);
    mouse(WM_LBUTTONUP, p.x + 30, p.y + 10);
    EXPECT_EQ(static_cast<LRESULT>(hovered),
              SendMessageA(shell().shapeHandles.pointList, LB_GETCURSEL, 0, 0));
    const vm::Float3& moved = shell().ship.points[hovered];
    char expected[64];
    std::snprintf(expected, sizeof expected, "%f ", static_cast<double>(moved.x));
    EXPECT_EQ(expected, text(shell().shapeHandles.coordinateBoxes[0]));
    EXPECT_EQ(pointRowText(hovered, moved), listRow(hovered));
    EXPECT_EQ("Untitled* - Tavrel", title());
}

TEST_F(ShapeWindowTest, GroupAndSymmetryButtons) {
    Model& model = shell().ship;
    chooseItem(shell().shape.tree().items.patchItem(0));
    EXPECT_FALSE(
        SendMessageA(shell().paletteHandles.toolbar, TB_ISBUTTONENABLED, palette::Group, 0));
    model.patches[2].selected = true;
    shell().palette.refreshSelection();
    EXPECT_TRUE(
        SendMessageA(shell().paletteHandles.toolbar, TB_ISBUTTONENABLED, palette::Group, 0));
    paletteClick(palette::Group);
    EXPECT_EQ((std::vector<std::string>{"group_0", "patch 1 ", "patch 3 "}), topLevelTexts());
    EXPECT_EQ(0, model.patches[2].group);
    EXPECT_EQ("Untitled* - Tavrel", title());
    paletteClick(palette::Symetry);
    EXPECT_TRUE(model.isSymmetry(1));
    // The tree follows the step as a redo would show it: group_0, now empty, shows no item.
    EXPECT_EQ((std::vector<std::string>{"Sym_0", "patch 1 ", "patch 3 "}), topLevelTexts());
    shell().frameTick(); // members drawn twice
    // Choosing the symmetry's item selects it.
    for (auto& p : model.patches)
        p.selected = false;
    chooseItem(shell().shape.tree().items.groupItem(1));
    EXPECT_TRUE(model.groups[1]->selected);
}

TEST_F(ShapeWindowTest, DissociateAndJointClicks) {
    shell().camera.gamma = 0.3f;
    Model& model = shell().ship;
    const size_t count = model.points.size();
    const size_t shared = sharedPoint();
    ASSERT_EQ(2, shell().editor.useCount[shared]);
    paletteClick(palette::Dissociate);
    clickPoint(shared);
    ASSERT_EQ(count + 1, model.points.size());
    EXPECT_FALSE(
        SendMessageA(shell().paletteHandles.toolbar, TB_ISBUTTONCHECKED, palette::Dissociate, 0));
    EXPECT_EQ("Untitled* - Tavrel", title());
    expectInStep();

    // Joint: the new point back into the old one.
    paletteClick(palette::Joint);
    clickPoint(shared);
    EXPECT_EQ(static_cast<int>(shared), shell().editor.firstJointPoint);
    clickPoint(count);
    EXPECT_EQ(count, model.points.size());
    EXPECT_EQ(-1, shell().editor.firstJointPoint);
    EXPECT_FALSE(
        SendMessageA(shell().paletteHandles.toolbar, TB_ISBUTTONCHECKED, palette::Joint, 0));
    EXPECT_EQ(2, shell().editor.useCount[shared]);
    expectInStep();
}

TEST_F(ShapeWindowTest, DeleteCommandKeepsTreeAndListInStep) {
    Model& model = shell().ship;
    chooseItem(shell().shape.tree().items.patchItem(1));
    SendMessageA(shell().mainHandles.window, WM_COMMAND, MAKEWPARAM(7, 0), 0);
    pumpMessages();
    ASSERT_EQ(3u, model.patches.size());
    EXPECT_TRUE(model.indicesValid());
    EXPECT_LT(model.points.size(), 48u);
    EXPECT_EQ((std::vector<std::string>{"patch 0 ", "patch 1 ", "patch 2 "}), topLevelTexts());
    expectInStep();
    EXPECT_EQ(-1, shell().editor.hoveredPoint);
    // The renumbered item selects the patch now at its index.
    chooseItem(shell().shape.tree().items.patchItem(2));
    EXPECT_EQ("2", selectedPatchesText(model));
    shell().frameTick();
}
