// Start-up of the real program in this process: the windows, the renderer, the model, the
// values taken from session.ini and the geometry written back to it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app-fixture.h"
#include "app/win32/shell.h"
#include "core/session-keys.h"
#include "graphics/d3d11/renderer.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-layout.h"
#include "win32-test-support.h"

class StartupTest : public AppFixture {};

TEST_F(StartupTest, WithoutSettingsOpensTheDefaultModelAtTheDefaultSize) {
    start();
    HWND main = shell().mainHandles.window;
    ASSERT_NE(nullptr, main);
    EXPECT_EQ("Untitled - Tavrel", windowText(main));
    // Side by side with the palette and the shape window, within the work area: the default
    // size, narrowed to what is left of the screen's width.
    RECT outer = windowRect(main);
    EXPECT_LE(outer.right - outer.left, 1200);
    EXPECT_GT(outer.right - outer.left, 400);
    // The menu bar comes on top of the default height: the client area stays what it was.
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetMenuBarInfo(main, OBJID_MENU, 0, &bar));
    EXPECT_EQ(800 + bar.rcBar.bottom - bar.rcBar.top, outer.bottom - outer.top);

    char className[64];
    GetClassNameA(main, className, sizeof className);
    EXPECT_STREQ("main-view", className);
    HWND palette = ownTopWindow("palette", "Palette");
    HWND shape = ownTopWindow("shape-wnd", "Courbes");
    ASSERT_NE(nullptr, palette);
    ASSERT_NE(nullptr, shape);
    RECT a = windowRect(palette), b = windowRect(shape), overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &a, &b));
    EXPECT_FALSE(IntersectRect(&overlap, &b, &outer));
    EXPECT_FALSE(IntersectRect(&overlap, &a, &outer));

    // View 0 fills the area between the toolbar and the status bar.
    RECT client = clientRect(main);
    RECT view = childRect(shell().mainHandles.view);
    EXPECT_EQ(0, view.left);
    EXPECT_EQ(shell().layout.toolbarHeight(), view.top);
    EXPECT_EQ(client.right, view.right);
    EXPECT_EQ(client.bottom - shell().layout.statusBarHeight(), view.bottom);
    EXPECT_GT(shell().layout.toolbarHeight(), 0);
    EXPECT_GT(shell().layout.statusBarHeight(), 0);

    const Model& model = shell().ship;
    EXPECT_EQ(48u, model.points.size());
    EXPECT_EQ(4u, model.patches.size());
    EXPECT_TRUE(shell().shipCopy.hasBuffers());
    EXPECT_TRUE(shell().shipCopy.patchIndices());
    EXPECT_TRUE(shell().editor.modelReady);
    EXPECT_EQ(1u, shell().entities.size());
    EXPECT_EQ(1, shell().layout.viewCount());

    for (int i = 0; i < 3; ++i)
        shell().frameTick();

    // Closing the window ends the message loop.
    PostMessageA(main, WM_CLOSE, 0, 0);
    shell().runMessageLoop();
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(StartupTest, RemembersEverySessionValue) {
    start("[Session]\r\nx=50\r\ny=60\r\nw=800\r\nh=600\r\nCurrentView=3\r\nTool=2\r\ngrid=7\r\n"
          "loc=1\r\ndistance=-1\r\ntheta=0.5\r\ngamma=-0.25\r\noffset.x=1\r\noffset.y=2\r\n"
          "offset.z=3\r\n[Tool]\r\nSelectedPatches=3;x;1;\r\n");
    HWND main = shell().mainHandles.window;
    // The stored client geometry comes back as it was.
    RECT client = clientRect(main);
    EXPECT_EQ(800, client.right);
    EXPECT_EQ(600, client.bottom);
    POINT origin = clientOrigin(main);
    EXPECT_EQ(50, origin.x);
    EXPECT_EQ(60, origin.y);

    EXPECT_EQ(ViewMode::Quad, shell().editor.currentView);
    EXPECT_EQ(Tool::Select, shell().editor.tool);
    EXPECT_TRUE(shell().editor.grid);
    EXPECT_TRUE(shell().editor.loc);
    EXPECT_FLOAT_EQ(0.2f, shell().camera.radius());
    EXPECT_EQ(0.5f, shell().camera.theta);
    EXPECT_EQ(-0.25f, shell().camera.gamma);
    EXPECT_EQ(3.0f, shell().camera.offset.z);

    const Model& model = shell().ship;
    EXPECT_TRUE(model.patches[3].selected);
    EXPECT_TRUE(model.patches[1].selected);
    EXPECT_FALSE(model.patches[0].selected);
    EXPECT_FALSE(model.patches[2].selected);

    // The quad layout: view 0 bottom right, views 1..3 in the other quarters, each with a
    // swap chain of its own.
    ASSERT_EQ(4, shell().layout.viewCount());
    const ViewArea area = shell().layout.viewArea(client.right, client.bottom);
    const int w = area.width / 2, h = area.height / 2;
    RECT view0 = childRect(shell().mainHandles.view);
    EXPECT_EQ(w, view0.left);
    EXPECT_EQ(area.top + h, view0.top);
    EXPECT_EQ(w, view0.right - view0.left);
    const POINT corners[3] = {{0, area.top}, {w, area.top}, {0, area.top + h}};
    for (int k = 0; k < 3; ++k) {
        ASSERT_NE(nullptr, shell().mainHandles.secondaryViews[k]);
        RECT r = childRect(shell().mainHandles.secondaryViews[k]);
        EXPECT_EQ(corners[k].x, r.left) << k;
        EXPECT_EQ(corners[k].y, r.top) << k;
        EXPECT_EQ(h, r.bottom - r.top) << k;
        EXPECT_NE(nullptr, shell().renderer->swapChain(k + 1));
    }
    shell().frameTick();
}

TEST_F(StartupTest, MovingAndResizingWriteTheGeometryAndMinimisingWritesNothing) {
    start();
    HWND main = shell().mainHandles.window;
    const SettingsFile& s = sessionSettings();

    SetWindowPos(main, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    pumpMessages();
    POINT origin = clientOrigin(main);
    EXPECT_EQ(origin.x, s.readInt("Session", "x", -9999));
    EXPECT_EQ(origin.y, s.readInt("Session", "y", -9999));

    SetWindowPos(main, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    RECT client = clientRect(main);
    EXPECT_EQ(client.right, s.readInt("Session", "w", -1));
    EXPECT_EQ(client.bottom, s.readInt("Session", "h", -1));
    // The view follows the new client size.
    RECT view = childRect(shell().mainHandles.view);
    EXPECT_EQ(client.right, view.right - view.left);
    DXGI_SWAP_CHAIN_DESC desc;
    shell().renderer->swapChain(0)->GetDesc(&desc);
    EXPECT_EQ(static_cast<UINT>(client.right), desc.BufferDesc.Width);

    const std::string before = readTextFile(L"session.ini");
    ShowWindow(main, SW_MINIMIZE);
    pumpMessages();
    shell().frameTick();
    EXPECT_EQ(before, readTextFile(L"session.ini"));

    // The window is not made smaller than 300 × 300.
    ShowWindow(main, SW_RESTORE);
    SetWindowPos(main, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    RECT outer = windowRect(main);
    EXPECT_GE(outer.right - outer.left, 300);
    EXPECT_GE(outer.bottom - outer.top, 300);
}

TEST_F(StartupTest, TheGeometryWrittenIsTheGeometryReadBack) {
    start("[Session]\r\nx=30\r\ny=40\r\nw=700\r\nh=500\r\n");
    // Whatever start-up wrote reproduces the same client area at the next start.
    const SettingsFile& s = sessionSettings();
    EXPECT_EQ(700, s.readInt("Session", "w", -1));
    EXPECT_EQ(500, s.readInt("Session", "h", -1));
    EXPECT_EQ(30, s.readInt("Session", "x", -1));
    EXPECT_EQ(40, s.readInt("Session", "y", -1));
}

TEST_F(StartupTest, LayoutSwitchGivesFixedViewAreasAndReleasesTheQuadViews) {
    start();
    HWND main = shell().mainHandles.window;
    shell().editor.currentView = ViewMode::Quad;
    shell().layout.switchTo(Layout::Quad);
    pumpMessages();
    RECT client = clientRect(main);
    EXPECT_EQ(1280, client.right);
    EXPECT_EQ(960, shell().layout.viewArea(client.right, client.bottom).height);
    for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(IsWindow(shell().mainHandles.secondaryViews[k]));
        RECT r = childRect(shell().mainHandles.secondaryViews[k]);
        EXPECT_EQ(640, r.right - r.left);
        EXPECT_EQ(480, r.bottom - r.top);
    }
    RECT view0 = childRect(shell().mainHandles.view);
    EXPECT_EQ(640, view0.left);
    EXPECT_EQ(shell().layout.toolbarHeight() + 480, view0.top);
    shell().frameTick(); // four views cleared and presented

    // An odd width: each quarter is half of it rounded down, the last column stays uncovered.
    SetWindowPos(main, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer = windowRect(main);
    SetWindowPos(main, nullptr, 0, 0, outer.right - outer.left + 1, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    client = clientRect(main);
    ASSERT_EQ(1, client.right % 2);
    view0 = childRect(shell().mainHandles.view);
    EXPECT_EQ(client.right / 2, view0.left);
    EXPECT_EQ(client.right - 1, view0.right);

    shell().editor.currentView = ViewMode::Front;
    HWND gone = shell().mainHandles.secondaryViews[0];
    shell().layout.switchTo(Layout::Single);
    pumpMessages();
    client = clientRect(main);
    EXPECT_EQ(1200, client.right);
    EXPECT_EQ(800, shell().layout.viewArea(client.right, client.bottom).height);
    EXPECT_FALSE(IsWindow(gone));
    for (int k = 1; k <= 3; ++k)
        EXPECT_EQ(nullptr, shell().renderer->swapChain(k));
    view0 = childRect(shell().mainHandles.view);
    EXPECT_EQ(0, view0.left);
    EXPECT_EQ(1200, view0.right - view0.left);
    shell().frameTick();
}

TEST_F(StartupTest, SwitchViewCyclesThroughTheQuadLayoutAndCentringMovesTheTarget) {
    start();
    shell().camera.savedTheta = 0.25f;
    const int expectedViews[5] = {1, 1, 4, 1, 1};
    for (int i = 0; i < 5; ++i) {
        shell().views.switchView();
        pumpMessages();
        EXPECT_EQ((i + 1) % 5, static_cast<int>(shell().editor.currentView));
        EXPECT_EQ(expectedViews[i], shell().layout.viewCount()) << "after " << i + 1;
        EXPECT_EQ(expectedViews[i] == 4, IsWindow(shell().mainHandles.secondaryViews[0]) != FALSE);
        shell().frameTick();
    }
    EXPECT_EQ(0.25f, shell().camera.theta);
    EXPECT_EQ(0, sessionSettings().readInt("Session", "CurrentView", 9));

    Model& model = shell().ship;
    model.patches[0].selected = true;
    shell().views.centerOnSelection();
    EXPECT_FLOAT_EQ(-0.0f + (1.0f + 0.0f) / 2, shell().camera.offset.x); // patch 0 spans x 0..1
    EXPECT_EQ(shell().camera.offset.x, sessionSettings().readFloat("Session", "offset.x"));
    shell().views.centerView();
    EXPECT_EQ(0.0f, shell().camera.offset.x);
    EXPECT_NE(0.0f, sessionSettings().readFloat("Session", "offset.x")); // not remembered
}
