// Undo and redo on the real windows: the toolbar's buttons and tooltips follow the history,
// the title's "*" follows the saved state, and the shape window shows the model as it is.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>

#include "document-fixture.h"
#include "editor/recovery-writer.h"
#include "editor/selection.h"
#include "editor/typed-coordinates.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "model/shape-outline.h"
#include "model/tree-item-param.h"
#include "ui/main-commands.h"
#include "ui/win32/commands.h"
#include "ui/win32/palette.h"
#include "ui/win32/shape-window.h"

namespace {

// Any tree as indented lines, read through the interface the operations use.
std::string outline(const ModelTree& tree, TreeItemHandle parent = nullptr, int depth = 0) {
    std::string text;
    for (TreeItemHandle item = tree.firstChildOf(parent); item; item = tree.nextSiblingOf(item))
        text += std::string(static_cast<size_t>(2 * depth), ' ') + tree.itemText(item) + "\n" +
                outline(tree, item, depth + 1);
    return text;
}

// The top-level subtrees in sorted order, leaving out groups without patches: an undo puts
// items back where they belong, not in the order a rebuild makes them.
std::string canonical(const ModelTree& tree) {
    std::vector<std::string> parts;
    for (TreeItemHandle item = tree.firstChildOf(nullptr); item; item = tree.nextSiblingOf(item)) {
        const std::optional<uint32_t> param = tree.itemParam(item);
        if (param && decodeTreeItemParam(*param).kind == TreeItemKind::Group &&
            !tree.firstChildOf(item))
            continue;
        parts.push_back(tree.itemText(item) + "\n" + outline(tree, item, 1));
    }
    std::sort(parts.begin(), parts.end());
    std::string text;
    for (const std::string& part : parts)
        text += part;
    return text;
}

class UndoTest : public DocumentTest {
  protected:
    void command(MainCommand c) {
        SendMessageA(shell().mainHandles.window, WM_COMMAND, MAKEWPARAM(static_cast<int>(c), 0), 0);
        pumpMessages();
    }
    // Read by the button's place, so that nothing else answers for its id.
    bool enabled(MainCommand c) const {
        const int count =
            static_cast<int>(SendMessageA(shell().mainHandles.toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON b = {};
            SendMessageA(shell().mainHandles.toolbar, TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&b));
            if (!(b.fsStyle & BTNS_SEP) && b.idCommand == static_cast<int>(c))
                return (b.fsState & TBSTATE_ENABLED) != 0;
        }
        ADD_FAILURE() << "no button for command " << static_cast<int>(c);
        return false;
    }
    // The shape window reads like one made afresh from the model, and the list has a row
    // per point.
    void expectShapeWindowLikeRebuild() {
        pumpMessages();
        MemoryTree fresh;
        Model copy = snapshotOf(shell().ship);
        rebuildShapeOutline(fresh, copy);
        EXPECT_EQ(canonical(fresh), canonical(shell().shape.tree()));
        const Model& model = shell().ship;
        EXPECT_EQ(model.points.size(), static_cast<size_t>(SendMessageA(
                                           shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0)));
    }
};

} // namespace

TEST_F(UndoTest, DeleteUndoneAndRedoneFromTheToolbarWithTheTitleFollowing) {
    EXPECT_FALSE(enabled(MainCommand::Undo));
    EXPECT_FALSE(enabled(MainCommand::UndoBack));
    EXPECT_FALSE(enabled(MainCommand::Redo));
    EXPECT_EQ("Undo (Ctrl+Z)", toolbarTip(static_cast<int>(MainCommand::Undo), shell().document));
    const std::string start = writeObj(shell().ship);
    const size_t rowsBefore =
        static_cast<size_t>(SendMessageA(shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0));
    selectPatch(shell().ship, 1, {});
    command(MainCommand::Delete);
    EXPECT_EQ(3u, shell().ship.patches.size());
    EXPECT_EQ("Untitled* - Tavrel", title());
    EXPECT_TRUE(enabled(MainCommand::Undo));
    EXPECT_TRUE(enabled(MainCommand::UndoBack));
    EXPECT_FALSE(enabled(MainCommand::Redo));
    EXPECT_EQ("Undo Delete (Ctrl+Z)",
              toolbarTip(static_cast<int>(MainCommand::Undo), shell().document));
    EXPECT_LT(static_cast<size_t>(SendMessageA(shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0)),
              rowsBefore);

    command(MainCommand::Undo);
    EXPECT_EQ(start, writeObj(shell().ship));
    EXPECT_EQ("Untitled - Tavrel", title()); // back as it was: no "*"
    EXPECT_TRUE(shell().shipCopy.hasBuffers());
    EXPECT_EQ(rowsBefore,
              static_cast<size_t>(SendMessageA(shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0)));
    EXPECT_TRUE(enabled(MainCommand::Redo));
    EXPECT_EQ("Redo Delete (Ctrl+Y, Ctrl+Shift+Z)",
              toolbarTip(static_cast<int>(MainCommand::Redo), shell().document));
    shell().frameTick(); // draws from the restored buffers
    expectShapeWindowLikeRebuild();

    command(MainCommand::Redo);
    EXPECT_EQ(3u, shell().ship.patches.size());
    EXPECT_EQ("Untitled* - Tavrel", title());
    command(MainCommand::UndoBack); // the back arrow undoes too
    EXPECT_EQ(4u, shell().ship.patches.size());
}

TEST_F(UndoTest, APointDragIsOneStepAndTheListFollowsTheUndo) {
    const vm::Float3 start = shell().ship.points[0];
    const POINT p = pointOnScreen(0);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_TRUE(shell().editor.hotPoint);
    mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    for (int k = 1; k <= 5; ++k)
        mouse(WM_MOUSEMOVE, p.x + 8 * k, p.y - 5 * k, MK_LBUTTON);
    mouse(WM_LBUTTONUP, p.x + 40, p.y - 25);
    EXPECT_NE(start.x, shell().ship.points[0].x);
    EXPECT_EQ(1u, shell().document.history().size());
    EXPECT_EQ("Move point", shell().document.history().undoName());
    command(MainCommand::Undo);
    EXPECT_EQ(start.x, shell().ship.points[0].x);
    EXPECT_EQ(start.y, shell().ship.points[0].y);
    EXPECT_EQ(shell().shape.pointListRowText(0), pointRowText(0, start));
    char box[64] = {};
    GetWindowTextA(shell().shapeHandles.coordinateBoxes[0], box, sizeof box);
    EXPECT_EQ(std::to_string(start.x).substr(0, 6), std::string(box).substr(0, 6));
}

TEST_F(UndoTest, UngroupGroupAndOpacityAreStepsToo) {
    selectPatch(shell().ship, 0, {});
    selectPatch(shell().ship, 1, {false, true});
    shell().palette.refreshSelection();
    paletteClick(palette::Group);
    ASSERT_EQ(0, shell().ship.patches[0].group);
    EXPECT_TRUE(
        SendMessageA(shell().paletteHandles.toolbar, TB_ISBUTTONENABLED, palette::Ungroup, 0));
    paletteClick(palette::Ungroup);
    EXPECT_EQ(-1, shell().ship.patches[0].group);
    EXPECT_EQ(-1, shell().ship.patches[1].group);
    expectShapeWindowLikeRebuild();

    // One slider gesture, however many positions it passes, is one step.
    const size_t steps = shell().document.history().size();
    for (int position : {10, 30, 50})
        SendMessageA(shell().shapeHandles.window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
                     reinterpret_cast<LPARAM>(shell().shapeHandles.alphaSlider));
    SendMessageA(shell().shapeHandles.alphaSlider, TBM_SETPOS, TRUE, 50);
    SendMessageA(shell().shapeHandles.window, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(shell().shapeHandles.alphaSlider));
    EXPECT_EQ(0.5f, shell().ship.patches[0].alpha);
    EXPECT_EQ(steps + 1, shell().document.history().size());
    EXPECT_EQ("Opacity", shell().document.history().undoName());

    command(MainCommand::Undo);
    EXPECT_EQ(1.0f, shell().ship.patches[0].alpha);

    // An undo while the thumb is still held ends the gesture first: it undoes that step, and
    // the steps before it stay as they were.
    SendMessageA(shell().shapeHandles.window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 20),
                 reinterpret_cast<LPARAM>(shell().shapeHandles.alphaSlider));
    command(MainCommand::Undo);
    EXPECT_EQ(1.0f, shell().ship.patches[0].alpha);
    EXPECT_EQ("Opacity", shell().document.history().redoName());
    SendMessageA(shell().shapeHandles.window, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(shell().shapeHandles.alphaSlider));
    EXPECT_EQ("Ungroup", shell().document.history().undoName());
    command(MainCommand::Undo);
    EXPECT_EQ(0, shell().ship.patches[1].group); // back in the group
    expectShapeWindowLikeRebuild();
    command(MainCommand::Undo);
    EXPECT_EQ(-1, shell().ship.patches[1].group);
    EXPECT_TRUE(shell().ship.groups.empty());
    EXPECT_EQ("Untitled - Tavrel", title());
}

TEST_F(UndoTest, TheJointButtonsPictureFollowsItsState) {
    auto picture = [this] {
        return static_cast<int>(
            SendMessageA(shell().paletteHandles.toolbar, TB_GETBITMAP, palette::Joint, 0));
    };
    paletteClick(palette::Joint); // pressed, no point chosen
    EXPECT_EQ(palette::Joint, picture());
    const POINT p = pointOnScreen(0);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    mouse(WM_LBUTTONUP, p.x, p.y);
    EXPECT_EQ(0, shell().editor.firstJointPoint);
    EXPECT_EQ(shell().paletteHandles.alternateImages[3], picture()); // a first point waits
    paletteClick(palette::Joint); // released: the half-done joint is forgotten
    EXPECT_EQ(-1, shell().editor.firstJointPoint);
    EXPECT_EQ(shell().paletteHandles.alternateImages[2], picture());
}

TEST_F(UndoTest, SavingMovesTheCleanStateAndNewForgetsTheHistory) {
    answer = "saved.obj";
    selectPatch(shell().ship, 0, {});
    command(MainCommand::Delete);
    ASSERT_TRUE(documentFiles().save());
    EXPECT_EQ("saved - Tavrel", title());
    command(MainCommand::Undo);
    EXPECT_EQ("saved* - Tavrel", title()); // left the saved state
    command(MainCommand::Redo);
    EXPECT_EQ("saved - Tavrel", title()); // and came back to it

    // A failed save leaves the history as it was.
    command(MainCommand::Undo);
    answer = "no-such-folder\\x.obj";
    EXPECT_FALSE(documentFiles().saveAs());
    EXPECT_EQ(1u, told.size());
    EXPECT_TRUE(shell().document.history().canRedo());
    EXPECT_EQ("saved* - Tavrel", title());

    documentFiles().newDocument(); // the unsaved change is given up

    EXPECT_FALSE(shell().document.history().canUndo());
    EXPECT_FALSE(shell().document.history().canRedo());
    EXPECT_FALSE(enabled(MainCommand::Undo));
}

TEST_F(UndoTest, TypedCoordinatesMoveThePointOrThePatchAndRefuseWhatIsNoNumber) {
    HWND list = shell().shapeHandles.pointList;
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SendMessageA(shell().shapeHandles.window, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    HWND y = shell().shapeHandles.coordinateBoxes[1];
    auto type = [&](HWND box, const char* text) {
        SetFocus(box);
        SendMessageA(box, EM_SETSEL, 0, -1);
        for (const char* c = text; *c; ++c)
            SendMessageA(box, WM_CHAR, static_cast<WPARAM>(*c), 0);
        SendMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
        pumpMessages();
    };
    const vm::Float3 before = shell().ship.points[2];
    type(y, "1.25");
    EXPECT_EQ(1.25f, shell().ship.points[2].y);
    EXPECT_EQ(before.x, shell().ship.points[2].x);
    EXPECT_EQ("Untitled* - Tavrel", title());
    EXPECT_EQ("Type coordinates", shell().document.history().undoName());
    EXPECT_EQ(pointRowText(2, shell().ship.points[2]), shell().shape.pointListRowText(2));

    // Not a number: refused, the box shows the coordinate again, nothing changes.
    const size_t steps = shell().document.history().size();
    type(y, "abc");
    EXPECT_EQ(1.25f, shell().ship.points[2].y);
    EXPECT_EQ(steps, shell().document.history().size());
    char text[64] = {};
    GetWindowTextA(y, text, sizeof text);
    EXPECT_EQ("1.250000 ", std::string(text));

    // Leaving a box without typing moves nothing (its text is rounded to six places).
    SetFocus(y);
    SetFocus(shell().shapeHandles.coordinateBoxes[0]);
    pumpMessages();
    EXPECT_EQ(steps, shell().document.history().size());

    command(MainCommand::Undo);
    EXPECT_EQ(before.y, shell().ship.points[2].y);

    // A patch chosen in the tree: its centre, and typing moves the whole patch.
    TreeView_SelectItem(shell().shapeHandles.tree, shell().shape.tree().items.patchItem(1));
    pumpMessages();
    ASSERT_EQ(CoordinateSubject::Kind::Patch, shell().editor.coordinates.kind);
    type(shell().shapeHandles.coordinateBoxes[2], "3");
    EXPECT_NEAR(3.0f, subjectPosition(shell().ship, shell().editor.coordinates)->z, 1e-5f);
}
