// The tools' mouse gestures on the real main window, driven by its own mouse messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "editor/edit-xform.h"
#include "graphics/d3d11/renderer.h"
#include "model/obj-format.h"
#include "tools-fixture.h"
#include "ui/palette-buttons.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/window-layout.h"

TEST_F(ToolsTest, ARotateDragIsCommittedAtTheReleaseAsOneStep) {
    const vm::Float3 before = shell().ship.points[0];
    paletteClick(palette::Rotate);
    EXPECT_EQ(Tool::Rotate, shell().editor.tool);
    EXPECT_EQ(-1.0f, shell().editor.startAngle);
    const int cx = area.width / 2, below = area.height * 3 / 4;
    mouse(WM_MOUSEMOVE, cx + 100, below);
    EXPECT_GT(shell().editor.sweepAngle, 0.0f); // the mouse's angle before a press
    mouse(WM_LBUTTONDOWN, cx + 100, below, MK_LBUTTON);
    EXPECT_GT(shell().editor.startAngle, 0.0f);
    mouse(WM_MOUSEMOVE, cx - 100, below, MK_LBUTTON);
    const float sweep = shell().editor.sweepAngle;
    EXPECT_GT(sweep, 0.0f);
    EXPECT_LT(sweep, 6.2831855f);
    shell().frameTick();                           // the preview and the gizmo draw
    EXPECT_EQ(before.x, shell().ship.points[0].x); // shown, not yet in the points
    // What the view shows during the drag is what the release commits.
    const vm::Vec4 shown =
        vm::transform({before.x, before.y, before.z, 1}, previewMatrix(shell().editor));
    mouse(WM_LBUTTONUP, cx - 100, below);
    const vm::Float3 after = shell().ship.points[0];
    EXPECT_NEAR(shown.x, after.x, 1e-6f);
    EXPECT_NEAR(shown.z, after.z, 1e-6f);
    EXPECT_NEAR(before.y, after.y, 1e-5f); // about the vertical axis
    EXPECT_GT(std::fabs(before.x - after.x) + std::fabs(before.z - after.z), 1e-3f);
    EXPECT_EQ("Untitled* - Tavrel", title());
    EXPECT_TRUE(SendMessageA(shell().mainHandles.toolbar, TB_ISBUTTONENABLED, 6, 0)); // Save
    EXPECT_EQ("Rotate", shell().document.history().undoName());

    paletteClick(palette::Rotate); // leaving changes nothing more
    EXPECT_EQ(Tool::None, shell().editor.tool);
    EXPECT_EQ(after.x, shell().ship.points[0].x);
    EXPECT_EQ(1u, shell().document.history().size());
}

TEST_F(ToolsTest, TranslateOffTheHandleMovesOnTheGroundFromNoOffset) {
    const vm::Float3 before = shell().ship.points[5];
    // A pivot left by the rotate tool and by Ctrl+A is no translation.
    paletteClick(palette::Rotate);
    SendMessageA(shell().mainHandles.window, WM_KEYDOWN, 'A', 0);
    paletteClick(palette::Translate);
    EXPECT_EQ(0.0f, shell().editor.translation.x);
    const int cx = area.width / 2 - 200, y = area.height * 3 / 4;
    mouse(WM_MOUSEMOVE, cx, y);
    EXPECT_FALSE(shell().editor.handleHot);
    mouse(WM_LBUTTONDOWN, cx, y, MK_LBUTTON);
    mouse(WM_MOUSEMOVE, cx + 80, y + 30, MK_LBUTTON);
    EXPECT_EQ(0.0f, shell().editor.translation.y);
    EXPECT_NE(0.0f, shell().editor.translation.x);
    const vm::Vec4 offset = shell().editor.translation;
    // The point chosen in the list is marked where the drag shows it, not where it was (the
    // patches hidden for the picture: the marker is not behind them).
    SendMessageA(static_cast<HWND>(shell().shapeHandles.pointList), LB_SETCURSEL, 0, 0);
    const vm::Float3 point0 = shell().ship.points[0];
    const POINT from = pointOnScreen(0);
    shell().ship.points[0] = {point0.x + offset.x, point0.y, point0.z + offset.z};
    const POINT to = pointOnScreen(0);
    shell().ship.points[0] = point0;
    for (Model::Patch& patch : shell().ship.patches)
        patch.visible = false;
    shell().frameRender(); // the back buffer read after a present holds the frame before it
    shell().frameRender();
    for (Model::Patch& patch : shell().ship.patches)
        patch.visible = true;
    const BackBuffer frame = readBackBuffer(*shell().renderer);
    auto greenNear = [&](POINT p) {
        int n = 0;
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx)
                n += frame.green(p.x + dx, p.y + dy) > 240 && frame.red(p.x + dx, p.y + dy) < 16 &&
                     frame.blue(p.x + dx, p.y + dy) < 16;
        return n;
    };
    EXPECT_GT(greenNear(to), 0);
    EXPECT_EQ(0, greenNear(from));
    mouse(WM_LBUTTONUP, cx + 80, y + 30);
    const vm::Float3 after = shell().ship.points[5];
    EXPECT_NEAR(before.x + offset.x, after.x, 1e-5f);
    EXPECT_NEAR(before.y, after.y, 1e-6f);
    EXPECT_NEAR(before.z + offset.z, after.z, 1e-5f);
    EXPECT_EQ(0.0f, shell().editor.translation.x); // committed: the next drag starts afresh
    paletteClick(palette::Translate);
    EXPECT_EQ(after.x, shell().ship.points[5].x);
}

TEST_F(ToolsTest, ToolsOnAndOffWithoutADragChangeNothing) {
    const std::string text = writeObj(shell().ship);
    for (int button :
         {palette::Rotate, palette::Translate, palette::Select, palette::Add, palette::Locator}) {
        paletteClick(button);
        paletteClick(button);
    }
    EXPECT_EQ(text, writeObj(shell().ship));
    EXPECT_EQ("Untitled - Tavrel", title());
    EXPECT_FALSE(shell().document.history().canUndo());
}

TEST_F(ToolsTest, WithTheEyeOnTheGroundRotateAndTranslateStillWork) {
    shell().camera.gamma = 0; // the start-up camera: the ground is edge-on
    const vm::Float3 before = shell().ship.points[5];
    paletteClick(palette::Translate);
    const int cx = area.width / 2 - 200, y = area.height * 3 / 4;
    mouse(WM_MOUSEMOVE, cx, y);
    mouse(WM_LBUTTONDOWN, cx, y, MK_LBUTTON);
    EXPECT_TRUE(shell().editor.transformDrag);
    EXPECT_TRUE(shell().editor.dragOnViewPlane);
    mouse(WM_MOUSEMOVE, cx + 80, y, MK_LBUTTON);
    mouse(WM_LBUTTONUP, cx + 80, y);
    EXPECT_NE(before.x, shell().ship.points[5].x); // moved sideways across the view
    EXPECT_EQ(before.y, shell().ship.points[5].y);
    EXPECT_TRUE(std::isfinite(shell().ship.points[5].z));

    // Rotating: the mouse's way across the view turns the model.
    const vm::Float3 moved = shell().ship.points[5];
    paletteClick(palette::Rotate);
    mouse(WM_MOUSEMOVE, cx, y);
    mouse(WM_LBUTTONDOWN, cx, y, MK_LBUTTON);
    mouse(WM_MOUSEMOVE, cx + 150, y, MK_LBUTTON);
    EXPECT_GT(shell().editor.sweepAngle, 0.1f);
    mouse(WM_LBUTTONUP, cx + 150, y);
    const vm::Float3 turned = shell().ship.points[5];
    EXPECT_NE(moved.x, turned.x);
    EXPECT_NEAR(moved.y, turned.y, 1e-5f);
    EXPECT_EQ("Rotate", shell().document.history().undoName());
}

TEST_F(ToolsTest, NoPointLeftHotDrivesTheSelectOrLocatorTool) {
    const POINT p = pointOnScreen(0);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_TRUE(shell().editor.hotPoint);
    paletteClick(palette::Select);
    EXPECT_FALSE(shell().editor.hotPoint);
    EXPECT_EQ(-1, shell().editor.hoveredPoint);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_FALSE(shell().editor.hotPoint);
    paletteClick(palette::Locator);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    EXPECT_FALSE(shell().editor.hotPoint);
}

TEST_F(ToolsTest, LocatorToolPlacesNamedLocators) {
    paletteClick(palette::Locator);
    mouse(WM_MOUSEMOVE, 100, 100);
    mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    mouse(WM_LBUTTONUP, 100, 100);
    ASSERT_EQ(1u, shell().ship.locators.size());
    const Model::Locator& locator = shell().ship.locators[0];
    EXPECT_EQ("Locator_0",
              shell().shape.tree().itemText(shell().shape.tree().items.locatorItem(0)));
    EXPECT_EQ(1.0f, locator.orientation.w);
    EXPECT_EQ(1.0f, locator.position.w);
    EXPECT_EQ("Untitled* - Tavrel", title());
    shell().frameTick(); // the locator's axes draw
}

TEST_F(ToolsTest, DissociateButtonTakesTheClickBeforeTheTool) {
    paletteClick(palette::Select);
    const int cx = area.width / 2 - 20, cy = area.height / 2;
    shell().camera.gamma = 0;
    mouse(WM_MOUSEMOVE, cx, cy);
    ASSERT_NE(-1, shell().editor.hoveredPatch);
    paletteClick(palette::Dissociate);
    mouse(WM_LBUTTONDOWN, cx, cy, MK_LBUTTON);
    for (const Model::Patch& p : shell().ship.patches)
        EXPECT_FALSE(p.selected);
    paletteClick(palette::Dissociate); // released: the click selects again
    mouse(WM_LBUTTONDOWN, cx, cy, MK_LBUTTON);
    EXPECT_TRUE(shell().ship.patches[static_cast<size_t>(shell().editor.hoveredPatch)].selected);
}

TEST_F(ToolsTest, ShiftDragOrbitsInEveryTool) {
    paletteClick(palette::Translate);
    mouse(WM_LBUTTONDOWN, 300, 300, MK_LBUTTON | MK_SHIFT);
    mouse(WM_MOUSEMOVE, 300, 340, MK_LBUTTON | MK_SHIFT);
    EXPECT_GT(shell().camera.dGamma, 0.0f);
    EXPECT_EQ(0.0f, shell().editor.pivot.x); // the model did not move
}

TEST_F(ToolsTest, TakeBackButtonFollowsThePendingPoints) {
    auto usable = [this] {
        return SendMessageA(shell().mainHandles.toolbar, TB_ISBUTTONENABLED, 2, 0) != 0;
    };
    EXPECT_FALSE(usable());
    paletteClick(palette::Add);
    mouse(WM_LBUTTONDOWN, 300, 300, MK_LBUTTON);
    mouse(WM_LBUTTONDOWN, 340, 300, MK_LBUTTON);
    EXPECT_TRUE(usable());
    // The shape window's tree lists them under "<New Points>", last at the top level.
    ModelTree& tree = shell().shape.tree();
    TreeItemHandle last = tree.firstChildOf(nullptr);
    while (tree.nextSiblingOf(last))
        last = tree.nextSiblingOf(last);
    EXPECT_EQ("<New Points>", tree.itemText(last));
    EXPECT_EQ(last, tree.pendingPointsItem);
    EXPECT_NE(nullptr, tree.childAt(last, 1));
    EXPECT_EQ(nullptr, tree.childAt(last, 2));
    paletteClick(palette::Select); // the points wait for the add tool; the button with them
    EXPECT_FALSE(usable());
    paletteClick(palette::Add);
    EXPECT_TRUE(usable());
    SendMessageA(shell().mainHandles.window, WM_COMMAND, MAKEWPARAM(2, 0), 0);
    EXPECT_EQ(1u, shell().editor.pendingPoints.size());
    EXPECT_EQ(nullptr, tree.childAt(last, 1));
    EXPECT_TRUE(usable());
    SendMessageA(shell().mainHandles.window, WM_COMMAND, MAKEWPARAM(2, 0), 0);
    EXPECT_TRUE(shell().editor.pendingPoints.empty());
    EXPECT_FALSE(usable());
}

TEST_F(ToolsTest, ControlSnapsPointDragsTranslationsAndRotations) {
    const POINT p = pointOnScreen(0);
    mouse(WM_MOUSEMOVE, p.x, p.y);
    ASSERT_TRUE(shell().editor.hotPoint);
    mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON | MK_CONTROL);
    mouse(WM_MOUSEMOVE, p.x + 37, p.y - 23, MK_LBUTTON | MK_CONTROL);
    mouse(WM_LBUTTONUP, p.x + 37, p.y - 23, MK_CONTROL);
    const vm::Float3 q = shell().ship.points[0];
    for (float v : {q.x, q.y, q.z})
        EXPECT_NEAR(0.0f, std::remainder(v, 0.1f), 1e-5f) << v;

    paletteClick(palette::Translate);
    const int cx = area.width / 2 - 200, y = area.height * 3 / 4;
    mouse(WM_MOUSEMOVE, cx, y);
    mouse(WM_LBUTTONDOWN, cx, y, MK_LBUTTON | MK_CONTROL);
    mouse(WM_MOUSEMOVE, cx + 83, y + 29, MK_LBUTTON | MK_CONTROL);
    EXPECT_NEAR(0.0f, std::remainder(shell().editor.translation.x, 0.1f), 1e-5f);
    EXPECT_NEAR(0.0f, std::remainder(shell().editor.translation.z, 0.1f), 1e-5f);
    mouse(WM_LBUTTONUP, cx + 83, y + 29, MK_CONTROL);

    paletteClick(palette::Rotate);
    mouse(WM_MOUSEMOVE, cx, y);
    mouse(WM_LBUTTONDOWN, cx, y, MK_LBUTTON | MK_CONTROL);
    mouse(WM_MOUSEMOVE, cx + 150, y + 10, MK_LBUTTON | MK_CONTROL);
    EXPECT_NEAR(0.0f, std::remainder(shell().editor.sweepAngle, 0.2617994f), 1e-5f);
    mouse(WM_LBUTTONUP, cx + 150, y + 10, MK_CONTROL);
}
