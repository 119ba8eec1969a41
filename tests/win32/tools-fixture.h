// The real main window driven by its own mouse messages and palette commands.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "app-fixture.h"
#include "editor/picking.h"
#include "graphics/d3d11/renderer.h"
#include "ui/palette-buttons.h"
#include "ui/win32/window-layout.h"

class ToolsTest : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        start();
        shell().camera.gamma = 0.5f; // looking down, so the ground is under the mouse
        RECT client;
        GetClientRect(shell().mainHandles.window, &client);
        area = shell().layout.viewArea(client.right, client.bottom);
    }
    // A mouse message at (x, y) in the view area.
    void mouse(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageA(shell().mainHandles.window, message, keys, MAKELPARAM(x, y + area.top));
    }
    void paletteClick(int id) {
        HWND toolbar = shell().paletteHandles.toolbar;
        if (palette::kButtons[id].check)
            SendMessageA(toolbar, TB_CHECKBUTTON, id,
                         MAKELPARAM(!SendMessageA(toolbar, TB_ISBUTTONCHECKED, id, 0), 0));
        SendMessageA(shell().paletteHandles.window, WM_COMMAND, MAKEWPARAM(id, 0),
                     reinterpret_cast<LPARAM>(toolbar));
        pumpMessages();
    }
    std::string title() const {
        char text[256] = {};
        GetWindowTextA(shell().mainHandles.window, text, sizeof text);
        return text;
    }
    // Where pool point index shows in the single view, relative to the view area.
    POINT pointOnScreen(size_t index) const {
        const vm::Mat4 m = shell().camera.viewMatrixOf(0) * shell().renderer->projection();
        const ScreenPoint s = projectToScreen(shell().ship.points[index], m);
        return {static_cast<LONG>((s.x + 1) / 2 * static_cast<float>(area.width)),
                static_cast<LONG>((1 - s.y) / 2 * static_cast<float>(area.height))};
    }
    // Hovers point index and presses the left button on it.
    void clickPoint(size_t index) {
        const POINT p = pointOnScreen(index);
        mouse(WM_MOUSEMOVE, p.x, p.y);
        mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        mouse(WM_LBUTTONUP, p.x, p.y);
    }
    ViewArea area{};
};
