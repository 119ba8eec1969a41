// Start-up values read from session.ini, the title, and the remembered selection.
#include <gtest/gtest.h>

#include "core/editor-state.h"
#include "core/selection-text.h"
#include "core/settings-file.h"
#include "temp-dir.h"
#include "view/orbit-camera.h"

TEST(SessionStartup, NoFileGivesTheDefaults) {
    TempDir dir;
    SettingsFile settings(dir.file("session.ini"));
    EditorState editor;
    editor.loadSession(settings);
    OrbitCamera camera;
    camera.load(settings);
    EXPECT_EQ(0, editor.currentView);
    EXPECT_EQ(0, editor.tool);
    EXPECT_FALSE(editor.grid);
    EXPECT_FALSE(editor.loc);
    EXPECT_EQ("", editor.loadedFile);
    EXPECT_EQ(1, camera.distance);
    EXPECT_EQ(5.0f, camera.radius());
    EXPECT_EQ(0.0f, camera.theta);
    EXPECT_EQ(0.0f, camera.offset.x);
    EXPECT_EQ(-1, editor.firstJointPoint);
    EXPECT_EQ(1, editor.mode);
    EXPECT_EQ(-1.0f, editor.startAngle);
    EXPECT_EQ(1.0f, editor.sweepAngle);
}

TEST(SessionStartup, ReadsEveryRememberedValue) {
    TempDir dir;
    TempDir::write(dir.file("session.ini"),
                   "[Session]\r\nCurrentView=3\r\nTool=2\r\ngrid=7\r\nloc=1\r\n"
                   "LoadedFile=C:\\models\\wing.obj\r\noffset.x=1.500000\r\noffset.y=-2\r\n"
                   "offset.z=0.25\r\ntheta=0.75\r\ngamma=-0.5\r\ndistance=-1\r\n");
    SettingsFile settings(dir.file("session.ini"));
    EditorState editor;
    editor.loadSession(settings);
    OrbitCamera camera;
    camera.load(settings);
    EXPECT_EQ(3, editor.currentView);
    EXPECT_EQ(2, editor.tool);
    EXPECT_TRUE(editor.grid); // any non-zero value is on
    EXPECT_TRUE(editor.loc);
    EXPECT_EQ("C:\\models\\wing.obj", editor.loadedFile);
    EXPECT_EQ(1.5f, camera.offset.x);
    EXPECT_EQ(-2.0f, camera.offset.y);
    EXPECT_EQ(0.25f, camera.offset.z);
    EXPECT_EQ(0.75f, camera.theta);
    EXPECT_EQ(-0.5f, camera.gamma);
    EXPECT_EQ(-1, camera.distance);
    EXPECT_FLOAT_EQ(0.2f, camera.radius());
    EXPECT_EQ(0.0f, camera.savedTheta); // never read from the file
}

TEST(Title, FileNameWithoutFolderOrExtensionAndTheModifiedMark) {
    EditorState editor;
    EXPECT_EQ(" - Tavrel", editor.makeTitle(false));
    editor.loadedFile = "C:\\models\\ship.obj";
    EXPECT_EQ("ship - Tavrel", editor.makeTitle(false));
    EXPECT_EQ("ship* - Tavrel", editor.makeTitle(true));
    EXPECT_EQ("ship* - Tavrel", editor.title);
    editor.loadedFile = "New Object.obj";
    EXPECT_EQ("New Object - Tavrel", editor.makeTitle(false));
    editor.loadedFile = "D:plain";
    EXPECT_EQ("plain - Tavrel", editor.makeTitle(false));
    EXPECT_EQ("b.c", fileStem("/x.y/b.c.obj"));
}

TEST(RememberedSelection, SkipsWordsAndOutOfRangeIndices) {
    EXPECT_EQ((std::vector<int>{3, 1}), parseSelectedPatches("3;x;1;", 4));
    EXPECT_EQ((std::vector<int>{}), parseSelectedPatches("7", 7));
    EXPECT_EQ((std::vector<int>{1}), parseSelectedPatches("-2;1", 4));
    EXPECT_EQ((std::vector<int>{2, 5}), parseSelectedPatches("2;5", 6));
    EXPECT_EQ((std::vector<int>{}), parseSelectedPatches("", 6));
    EXPECT_EQ((std::vector<int>{0}), parseSelectedPatches(";0", 6)); // empty first token
}

TEST(RememberedSelection, FormatsAsSemicolonList) {
    EXPECT_EQ("", formatSelectedPatches({}));
    EXPECT_EQ("2;5;11", formatSelectedPatches({2, 5, 11}));
}

TEST(CameraView, DefaultEyeLooksAtTheOriginFromMinusZ) {
    OrbitCamera camera;
    vm::Vec4 eye = camera.eye();
    EXPECT_FLOAT_EQ(0.0f, eye.x);
    EXPECT_FLOAT_EQ(0.0f, eye.y);
    EXPECT_FLOAT_EQ(-5.0f, eye.z);
    vm::Vec4 origin = vm::transform({0, 0, 0, 1}, camera.viewMatrix());
    EXPECT_NEAR(-5.0f, origin.z, 1e-5f);
    // A quarter turn of yaw puts the eye on −x; pitch raises it.
    camera.theta = vm::kPi / 2;
    EXPECT_NEAR(-5.0f, camera.eye().x, 1e-5f);
    camera.theta = 0;
    camera.gamma = 0.5f;
    EXPECT_GT(camera.eye().y, 0.0f);
    // The top axis view looks down −y from above the target.
    camera.offset = {1, 2, 3, 0};
    vm::Vec4 below = vm::transform({1, 0, 3, 1}, camera.axisViewMatrix(3));
    EXPECT_NEAR(-7.0f, below.z, 1e-5f);
}
