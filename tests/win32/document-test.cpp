// New, Open, Save and closing on the running program, with the dialogs' answers given by the
// test: what the windows show of it (the flows themselves are tested natively).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "document-fixture.h"
#include "model/memory-tree.h"
#include "model/obj-format.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/shape-window.h"

namespace {

const char* const kOnePatch = "cstype bezier\r\ndeg 3\r\n\r\n"
                              "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\n\r\n"
                              "surf 0.0 1.0 0.0 1.0 0 1 2 0 1 2 0 1 2 0 1 2 0 1 2 2\r\nend\r\n"
                              "locator\r\nNose\r\n0 0.5 0 1\r\n0 0 0 1\r\n";

} // namespace

TEST_F(DocumentTest, SaveWithoutAPathAsksThenWritesAndClearsTheMark) {
    modify();
    answer.clear();
    command(6); // cancelled: nothing written, path and mark unchanged
    EXPECT_EQ(1, dialogs);
    EXPECT_TRUE(lastDialogWasSave);
    EXPECT_EQ("Untitled.obj", proposed);
    EXPECT_EQ("", shell().document.path());
    EXPECT_EQ("Untitled* - Tavrel", title());

    answer = "ship";
    command(6);
    EXPECT_EQ("ship - Tavrel", title());
    EXPECT_EQ("ship", storedPath()); // no extension added
    Model back;
    MemoryTree tree;
    ASSERT_TRUE(loadObj("ship", back, &tree).ok());
    EXPECT_EQ(4u, back.patches.size());
    EXPECT_EQ("Locator_0", tree.itemText(tree.items.locatorItem(0)));

    modify();
    command(6); // with a path: no dialog
    EXPECT_EQ(2, dialogs);
    EXPECT_EQ("ship - Tavrel", title());
    EXPECT_TRUE(SendMessageA(shell().mainHandles.toolbar, TB_ISBUTTONENABLED, 6, 0));
}

TEST_F(DocumentTest, NewAsksAboutUnsavedChangesAndStartsClean) {
    modify();
    paletteClick(palette::Add);
    mouse(WM_LBUTTONDOWN, 300, 300, MK_LBUTTON); // one pending point
    unsavedAnswer = DocumentPrompts::Unsaved::Cancel;
    command(4);
    EXPECT_EQ(1, questions);
    EXPECT_EQ(1u, shell().ship.locators.size());
    EXPECT_EQ("Untitled* - Tavrel", title());

    unsavedAnswer = DocumentPrompts::Unsaved::Discard;
    command(4);
    EXPECT_EQ("Untitled - Tavrel", title());
    EXPECT_EQ("?", storedPath()); // New does not change the remembered file
    EXPECT_TRUE(shell().ship.locators.empty());
    EXPECT_TRUE(shell().editor.pendingPoints.empty());
    EXPECT_EQ(48u, shell().ship.points.size());
    EXPECT_EQ(48u,
              static_cast<size_t>(SendMessageA(shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0)));
    EXPECT_EQ("", sessionSettings().readString("Tool", "SelectedPatches", "?", 560));

    command(4); // not modified: no question
    EXPECT_EQ(2, questions);

    // Save first: a Save that goes through (here through the dialog, the document having
    // no name) lets New go on.
    modify();
    unsavedAnswer = DocumentPrompts::Unsaved::Save;
    answer = "before-new.obj";
    command(4);
    EXPECT_EQ(1, dialogs);
    EXPECT_TRUE(std::filesystem::exists("before-new.obj"));
    EXPECT_TRUE(shell().ship.locators.empty());
}

TEST_F(DocumentTest, OpenReplacesTheModelOrKeepsItWhenRefusedOrCancelled) {
    writeTextFile(L"one.obj", kOnePatch);
    writeTextFile(L"bad.obj", "cstype bezier\r\ndeg 3\r\nv 0 0 0\r\nsurf 0.0 1.0 0.0 1.0 0 1 2 3 4 "
                              "5 6 7 8 9 1 1 1 1 1 1\r\n");
    shell().document.adopt("kept.obj", "", true);
    answer.clear();
    command(5);
    EXPECT_EQ("kept.obj", shell().document.path());
    EXPECT_EQ(4u, shell().ship.patches.size());

    answer = "bad.obj";
    command(5);
    ASSERT_EQ(1u, told.size());
    EXPECT_NE(std::string::npos, told[0].find("bad.obj"));
    EXPECT_EQ(4u, shell().ship.patches.size());
    EXPECT_EQ("kept.obj", shell().document.path());

    answer = "one.obj";
    command(5);
    EXPECT_FALSE(lastDialogWasSave);
    ASSERT_EQ(1u, shell().ship.patches.size());
    EXPECT_EQ(3u,
              static_cast<size_t>(SendMessageA(shell().shapeHandles.pointList, LB_GETCOUNT, 0, 0)));
    ASSERT_EQ(1u, shell().ship.locators.size());
    EXPECT_EQ("Nose", shell().shape.tree().itemText(shell().shape.tree().items.locatorItem(0)));
    EXPECT_EQ("one - Tavrel", title());
    EXPECT_EQ("one.obj", storedPath());
    shell().frameTick();
}

TEST_F(DocumentTest, ClosingAsksAboutUnsavedChanges) {
    SendMessageA(shell().mainHandles.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, questions); // nothing to lose: no question
    ASSERT_FALSE(IsWindow(shell().mainHandles.window));
}

TEST_F(DocumentTest, ClosingCanBeCancelled) {
    modify();
    unsavedAnswer = DocumentPrompts::Unsaved::Cancel;
    SendMessageA(shell().mainHandles.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(1, questions);
    EXPECT_TRUE(IsWindow(shell().mainHandles.window));
    unsavedAnswer = DocumentPrompts::Unsaved::Discard;
    SendMessageA(shell().mainHandles.window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(shell().mainHandles.window));
}
