// The shape window's controls and the model commands on the running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/win32/shell-windows.h"
#include "editor/selection.h"
#include "model/shape-outline.h"
#include "tools-fixture.h"
#include "ui/win32/palette.h"
#include "ui/win32/shape-window.h"

namespace {

class ShapeWindowTest : public ToolsTest {
  protected:
    static std::string text(HWND w) { return windowText(w); }
    static std::string listRow(size_t row) { return shellWindows().shape.pointListRowText(row); }
    // Expands an item as a click on its button does.
    static void expand(TreeItemHandle item) {
        SendMessageA(application.shape.tree, TVM_EXPAND, TVE_EXPAND,
                     reinterpret_cast<LPARAM>(item));
        pumpMessages();
    }
    static size_t listCount() {
        pumpMessages(); // the list takes its count once an operation is done
        return static_cast<size_t>(SendMessageA(application.shape.pointList, LB_GETCOUNT, 0, 0));
    }
    static std::vector<std::string> topLevelTexts() {
        std::vector<std::string> texts;
        for (TreeItemHandle i = shellWindows().shape.tree().firstChildOf(nullptr); i;
             i = shellWindows().shape.tree().nextSiblingOf(i))
            texts.push_back(shellWindows().shape.tree().itemText(i));
        return texts;
    }
    static void chooseItem(TreeItemHandle item) {
        SendMessageA(application.shape.tree, TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(item));
        pumpMessages();
    }
    static std::string storedSelection() {
        return sessionSettings().readString("Tool", "SelectedPatches", "?", 560);
    }
    // Every list row and patch item says what the model holds.
    static void expectInStep() {
        const Model& model = application.ship;
        ASSERT_EQ(model.points.size(), listCount());
        for (size_t i = 0; i < model.points.size(); ++i)
            EXPECT_EQ(pointRowText(i, model.points[i]), listRow(i));
        for (size_t i = 0; i < model.patches.size(); ++i)
            EXPECT_EQ("patch " + std::to_string(i) + " ",
                      shellWindows().shape.tree().itemText(
                          shellWindows().shape.tree().items.patchItem(i)));
    }
    // The first point that two shown patches use.
    static size_t sharedPoint() {
        for (size_t i = 0; i < editorState.useCount.size(); ++i)
            if (editorState.useCount[i] >= 2) return i;
        return 0;
    }
};

} // namespace

TEST_F(ShapeWindowTest, StartUpListsPatchesRowsIndicesAndPoints) {
    EXPECT_EQ((std::vector<std::string>{"patch 0 ", "patch 1 ", "patch 2 ", "patch 3 "}),
              topLevelTexts());
    const Model::Patch& patch = application.ship.patches[3];
    const TreeItemHandle item = shellWindows().shape.tree().items.patchItem(3);
    // A patch's rows are made when it is expanded.
    EXPECT_EQ(nullptr, shellWindows().shape.tree().firstChildOf(item));
    expand(item);
    TreeItemHandle row2 = shellWindows().shape.tree().childAt(item, 2);
    EXPECT_EQ("[2][..] ", shellWindows().shape.tree().itemText(row2));
    EXPECT_EQ(std::to_string(patch.indices[9]) + " ",
              shellWindows().shape.tree().itemText(shellWindows().shape.tree().childAt(row2, 1)));
    expectInStep();

    // Choosing a row of the list shows its coordinates, six decimals and a space.
    SendMessageA(application.shape.pointList, LB_SETCURSEL, 5, 0);
    SendMessageA(application.shape.window, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(application.shape.pointList));
    char expected[64];
    std::snprintf(expected, sizeof expected, "%f ",
                  static_cast<double>(application.ship.points[5].y));
    EXPECT_EQ(expected, text(application.shape.coordinateBoxes[1]));
}

TEST_F(ShapeWindowTest, ChoosingTreeItemsSelects) {
    chooseItem(shellWindows().shape.tree().items.patchItem(2));
    EXPECT_TRUE(application.ship.patches[2].selected);
    EXPECT_EQ("2", storedSelection());
    // A row or an index item chooses its patch.
    expand(shellWindows().shape.tree().items.patchItem(1));
    chooseItem(shellWindows().shape.tree().childAt(
        shellWindows().shape.tree().childAt(shellWindows().shape.tree().items.patchItem(1), 3), 0));
    EXPECT_EQ("1", selectedPatchesText(application.ship));
    // A locator chooses nothing.
    paletteClick(palette::Locator);
    mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    chooseItem(shellWindows().shape.tree().items.locatorItem(0));
    EXPECT_EQ("1", selectedPatchesText(application.ship));
    // A rebuild moves the tree's selection without touching the editor's.
    shellWindows().shape.rebuild();
    EXPECT_EQ("1", selectedPatchesText(application.ship));
    EXPECT_EQ("Locator_0", shellWindows().shape.tree().itemText(
                               shellWindows().shape.tree().items.locatorItem(0)));
}

TEST_F(ShapeWindowTest, AlphaSliderSetsTheSelectedPatches) {
    chooseItem(shellWindows().shape.tree().items.patchItem(1));
    EXPECT_TRUE(IsWindowEnabled(application.shape.alphaSlider));
    SendMessageA(application.shape.alphaSlider, TBM_SETPOS, TRUE, 50);
    SendMessageA(application.shape.window, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(application.shape.alphaSlider));
    EXPECT_EQ(0.5f, application.ship.patches[1].alpha);
    EXPECT_EQ(1.0f, application.ship.patches[0].alpha);
    EXPECT_EQ("Untitled* - Tavrel", title());
    SendMessageA(application.shape.window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 25),
                 reinterpret_cast<LPARAM>(application.shape.alphaSlider));
    EXPECT_EQ(0.25f, application.ship.patches[1].alpha);
}

TEST_F(ShapeWindowTest, DraggingAPointShowsItsCoordinates) {
    orbitCamera.gamma = 0.3f;
    const size_t index = 0;
    const POINT p = pointOnScreen(index);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_TRUE(editorState.hotPoint);
    const size_t hovered = static_cast<size_t>(editorState.hoveredPoint);
    mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    mouse(WM_MOUSEMOVE, p.x + 30, p.y + 10, MK_LBUTTON);
    mouse(WM_LBUTTONUP, p.x + 30, p.y + 10);
    EXPECT_EQ(static_cast<LRESULT>(hovered),
              SendMessageA(application.shape.pointList, LB_GETCURSEL, 0, 0));
    const vm::Float3& moved = application.ship.points[hovered];
    char expected[64];
    std::snprintf(expected, sizeof expected, "%f ", static_cast<double>(moved.x));
    EXPECT_EQ(expected, text(application.shape.coordinateBoxes[0]));
    EXPECT_EQ(pointRowText(hovered, moved), listRow(hovered));
    EXPECT_EQ("Untitled* - Tavrel", title());
}

TEST_F(ShapeWindowTest, GroupAndSymmetryButtons) {
    Model& model = application.ship;
    chooseItem(shellWindows().shape.tree().items.patchItem(0));
    EXPECT_FALSE(SendMessageA(application.palette.toolbar, TB_ISBUTTONENABLED, palette::Group, 0));
    model.patches[2].selected = true;
    shellWindows().palette.refreshSelection();
    EXPECT_TRUE(SendMessageA(application.palette.toolbar, TB_ISBUTTONENABLED, palette::Group, 0));
    paletteClick(palette::Group);
    EXPECT_EQ((std::vector<std::string>{"group_0", "patch 1 ", "patch 3 "}), topLevelTexts());
    EXPECT_EQ(0, model.patches[2].group);
    EXPECT_EQ("Untitled* - Tavrel", title());
    paletteClick(palette::Symetry);
    EXPECT_TRUE(model.isSymmetry(1));
    // The tree follows the step as a redo would show it: group_0, now empty, shows no item.
    EXPECT_EQ((std::vector<std::string>{"Sym_0", "patch 1 ", "patch 3 "}), topLevelTexts());
    frameTick(); // members drawn twice
    // Choosing the symmetry's item selects it.
    for (auto& p : model.patches)
        p.selected = false;
    chooseItem(shellWindows().shape.tree().items.groupItem(1));
    EXPECT_TRUE(model.groups[1]->selected);
}

TEST_F(ShapeWindowTest, DissociateAndJointClicks) {
    orbitCamera.gamma = 0.3f;
    Model& model = application.ship;
    const size_t count = model.points.size();
    const size_t shared = sharedPoint();
    ASSERT_EQ(2, editorState.useCount[shared]);
    paletteClick(palette::Dissociate);
    clickPoint(shared);
    ASSERT_EQ(count + 1, model.points.size());
    EXPECT_FALSE(
        SendMessageA(application.palette.toolbar, TB_ISBUTTONCHECKED, palette::Dissociate, 0));
    EXPECT_EQ("Untitled* - Tavrel", title());
    expectInStep();

    // Joint: the new point back into the old one.
    paletteClick(palette::Joint);
    clickPoint(shared);
    EXPECT_EQ(static_cast<int>(shared), editorState.firstJointPoint);
    clickPoint(count);
    EXPECT_EQ(count, model.points.size());
    EXPECT_EQ(-1, editorState.firstJointPoint);
    EXPECT_FALSE(SendMessageA(application.palette.toolbar, TB_ISBUTTONCHECKED, palette::Joint, 0));
    EXPECT_EQ(2, editorState.useCount[shared]);
    expectInStep();
}

TEST_F(ShapeWindowTest, DeleteCommandKeepsTreeAndListInStep) {
    Model& model = application.ship;
    chooseItem(shellWindows().shape.tree().items.patchItem(1));
    SendMessageA(application.main.window, WM_COMMAND, MAKEWPARAM(7, 0), 0);
    pumpMessages();
    ASSERT_EQ(3u, model.patches.size());
    EXPECT_TRUE(model.indicesValid());
    EXPECT_LT(model.points.size(), 48u);
    EXPECT_EQ((std::vector<std::string>{"patch 0 ", "patch 1 ", "patch 2 "}), topLevelTexts());
    expectInStep();
    EXPECT_EQ(-1, editorState.hoveredPoint);
    // The renumbered item selects the patch now at its index.
    chooseItem(shellWindows().shape.tree().items.patchItem(2));
    EXPECT_EQ("2", selectedPatchesText(model));
    frameTick();
}
