// The tool palette, the main toolbar and the status bar on the real program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app-fixture.h"
#include "ui/palette-buttons.h"
#include "ui/win32/palette.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/window-layout.h"

namespace {

class PaletteTest : public AppFixture {
  protected:
    HWND toolbar() const { return shell().paletteHandles.toolbar; }
    int state(int id) const {
        return static_cast<int>(SendMessageA(toolbar(), TB_GETSTATE, id, 0));
    }
    bool checked(int id) const { return (state(id) & TBSTATE_CHECKED) != 0; }
    // A click as the toolbar makes it: check buttons toggle first, then the command arrives.
    void click(int id) {
        if (palette::kButtons[id].check)
            SendMessageA(toolbar(), TB_CHECKBUTTON, id, MAKELPARAM(!checked(id), 0));
        SendMessageA(shell().paletteHandles.window, WM_COMMAND, MAKEWPARAM(id, 0),
                     reinterpret_cast<LPARAM>(toolbar()));
        pumpMessages();
    }
    int setting(const char* key, int def = -9) const {
        return sessionSettings().readInt("Session", key, def);
    }
};

} // namespace

TEST_F(PaletteTest, ButtonsTextsAndStartStates) {
    start("[Session]\r\nTool=4\r\nwireframe=1\r\n");
    ASSERT_EQ(palette::ButtonCount, SendMessageA(toolbar(), TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < palette::ButtonCount; ++i) {
        TBBUTTON b = {};
        ASSERT_TRUE(SendMessageA(toolbar(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)));
        EXPECT_EQ(i, b.idCommand);
        EXPECT_EQ(palette::kButtons[i].check ? BTNS_CHECK : BTNS_BUTTON,
                  b.fsStyle & (BTNS_CHECK | BTNS_BUTTON))
            << i;
        char text[64] = {};
        SendMessageA(toolbar(), TB_GETBUTTONTEXTA, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(palette::kButtons[i].text, text);
    }
    EXPECT_TRUE(state(palette::Stop) & TBSTATE_INDETERMINATE);
    EXPECT_TRUE(state(palette::Group) & TBSTATE_INDETERMINATE);
    EXPECT_FALSE(state(palette::Play) & TBSTATE_INDETERMINATE);
    EXPECT_TRUE(checked(palette::ToggleWireframe));
    EXPECT_TRUE(shell().palette.wireframeChecked());
    EXPECT_TRUE(checked(palette::Translate));
    EXPECT_FALSE(checked(palette::Select));
    EXPECT_EQ(BST_INDETERMINATE,
              SendMessageA(shell().paletteHandles.displayCheckBox, BM_GETCHECK, 0, 0));

    // The main toolbar: eleven buttons, Save and Redo disabled at first.
    HWND main = shell().mainHandles.toolbar;
    EXPECT_EQ(11, SendMessageA(main, TB_BUTTONCOUNT, 0, 0));
    EXPECT_FALSE(SendMessageA(main, TB_ISBUTTONENABLED, 6, 0));
    EXPECT_TRUE(SendMessageA(main, TB_ISBUTTONENABLED, 4, 0));
    EXPECT_TRUE(SendMessageA(main, TB_ISBUTTONENABLED, 7, 0));
    // Greyed buttons draw their own pictures greyed.
    for (HWND bar : {main, toolbar()})
        EXPECT_NE(0, SendMessageA(bar, TB_GETDISABLEDIMAGELIST, 0, 0));
}

TEST_F(PaletteTest, ToolButtonsSwitchAndRememberTheTool) {
    start();
    click(palette::Select);
    EXPECT_EQ(Tool::Select, shell().editor.tool);
    EXPECT_EQ(2, setting("Tool"));
    click(palette::Translate); // releases "select"
    EXPECT_EQ(Tool::Translate, shell().editor.tool);
    EXPECT_FALSE(checked(palette::Select));
    EXPECT_TRUE(checked(palette::Translate));
    click(palette::Translate); // chosen again: no tool
    EXPECT_EQ(Tool::None, shell().editor.tool);
    EXPECT_EQ(0, setting("Tool"));
    EXPECT_FALSE(checked(palette::Translate));
}

TEST_F(PaletteTest, GridCyclesTwoStatesOrThreeInTheQuadLayout) {
    start("[Session]\r\nloc=0\r\n");
    click(palette::ToggleGrid);
    EXPECT_TRUE(shell().editor.grid);
    EXPECT_EQ(1, setting("grid"));
    click(palette::ToggleGrid);
    EXPECT_FALSE(shell().editor.grid);
    EXPECT_EQ(0, setting("loc"));

    shell().editor.currentView = ViewMode::Quad;
    click(palette::ToggleGrid);
    EXPECT_TRUE(shell().editor.grid);
    EXPECT_FALSE(shell().editor.loc);
    click(palette::ToggleGrid);
    EXPECT_TRUE(shell().editor.grid && shell().editor.loc);
    EXPECT_TRUE(checked(palette::ToggleGrid));
    click(palette::ToggleGrid);
    EXPECT_FALSE(shell().editor.grid || shell().editor.loc);
    EXPECT_EQ(0, setting("grid"));
    EXPECT_EQ(0, setting("loc"));
}

TEST_F(PaletteTest, WireframePlayAndStop) {
    start();
    click(palette::ToggleWireframe);
    EXPECT_EQ(1, setting("wireframe"));
    EXPECT_TRUE(shell().palette.wireframeChecked());
    shell().frameTick();

    // Play and Stop say what they did, as their menu items do.
    const auto said = [this] {
        char text[256] = {};
        SendMessageA(shell().mainHandles.statusBar, SB_GETTEXTA,
                     static_cast<WPARAM>(StatusPart::Message), reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    click(palette::Play);
    EXPECT_EQ(Mode::Flight, shell().editor.mode);
    EXPECT_TRUE(state(palette::Stop) & TBSTATE_ENABLED);
    EXPECT_EQ(0u, said().find("Flying"));
    click(palette::Stop);
    EXPECT_EQ(Mode::Editing, shell().editor.mode);
    EXPECT_FALSE(state(palette::Stop) & TBSTATE_ENABLED);
    EXPECT_EQ("Stopped", said());
    click(palette::Center);
    EXPECT_EQ("View centred on the origin", said());

    // Flight in the quad layout leaves it, so that the view mode and the windows agree.
    // The quad layout's larger window is moved in to stay on the screen.
    SetWindowPos(shell().mainHandles.window, nullptr, GetSystemMetrics(SM_CXSCREEN) - 700, 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    shell().editor.currentView = ViewMode::Quad;
    shell().layout.switchTo(Layout::Quad);
    RECT placed;
    GetWindowRect(shell().mainHandles.window, &placed);
    EXPECT_LE(placed.right, GetSystemMetrics(SM_CXSCREEN));
    click(palette::Play);
    EXPECT_EQ(ViewMode::Front, shell().editor.currentView);
    EXPECT_EQ(1, shell().layout.viewCount());
    EXPECT_FALSE(IsWindow(shell().mainHandles.secondaryViews[0]));
    shell().frameTick();
}

TEST_F(PaletteTest, SelectionRefreshAndTheDisplayCheckBox) {
    start();
    Model& model = shell().ship;
    model.patches[0].selected = true;
    shell().palette.refreshSelection();
    EXPECT_FALSE(state(palette::Group) & TBSTATE_ENABLED);
    EXPECT_EQ(BST_CHECKED, SendMessageA(shell().paletteHandles.displayCheckBox, BM_GETCHECK, 0, 0));
    model.patches[2].selected = true;
    shell().palette.refreshSelection();
    EXPECT_TRUE(state(palette::Group) & TBSTATE_ENABLED);
    EXPECT_EQ("0;2", sessionSettings().readString("Tool", "SelectedPatches", "", 560));

    // Checked → indeterminate on a click: the selection is hidden.
    SendMessageA(shell().paletteHandles.displayCheckBox, BM_CLICK, 0, 0);
    pumpMessages();
    EXPECT_EQ(BST_INDETERMINATE,
              SendMessageA(shell().paletteHandles.displayCheckBox, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(model.patches[0].visible);
    EXPECT_FALSE(model.patches[2].visible);
    EXPECT_TRUE(model.patches[1].visible);
}

TEST_F(PaletteTest, TwoColumnsOfButtonsFillThePalette) {
    start();
    RECT bar, client, last;
    GetWindowRect(toolbar(), &bar);
    GetClientRect(shell().paletteHandles.window, &client);
    SendMessageA(toolbar(), TB_GETITEMRECT, palette::ButtonCount - 1,
                 reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(10, SendMessageA(toolbar(), TB_GETROWS, 0, 0));
    EXPECT_GE(bar.bottom - bar.top, last.bottom); // every row is inside the toolbar…
    EXPECT_LE(last.bottom, client.bottom);        // …and inside the palette
    // A place remembered from the palette of fewer buttons does not hide the last row.
    HWND window = shell().paletteHandles.window;
    SetWindowPos(window, nullptr, 0, 0, 116, 380, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(shell().palette.outerHeight(), outer.bottom - outer.top);
}
