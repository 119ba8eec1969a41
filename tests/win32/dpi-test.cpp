// The windows at the screen's DPI: run in the test suite at 96 dpi, and by
// tests/win32/high-dpi.sh in a Wine prefix of its own at 144 (TAVREL_EXPECT_DPI says which).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "app-fixture.h"
#include "ui/dpi-scale.h"
#include "ui/palette-buttons.h"
#include "ui/shape-window-layout.h"
#include "ui/win32/window-dpi.h"

namespace {

class DpiTest : public AppFixture {
  protected:
    // A control's rectangle in its parent's client area (a combo box's shut, as its window is).
    static RECT placeIn(HWND parent, HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Every control of the shape window inside its client area, no two overlapping.
    static void expectInsideAndApart(HWND window, const std::vector<HWND>& controls) {
        const RECT client = clientRect(window);
        for (size_t i = 0; i < controls.size(); ++i) {
            const RECT a = placeIn(window, controls[i]);
            EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right &&
                        a.bottom <= client.bottom && a.right > a.left)
                << "control " << i << " at " << a.left << "," << a.top << " to " << a.right << ","
                << a.bottom << " outside " << client.right << " x " << client.bottom;
            for (size_t j = i + 1; j < controls.size(); ++j) {
                RECT b = placeIn(window, controls[j]), both;
                EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "controls " << i << " and " << j;
            }
        }
    }
};

} // namespace

TEST_F(DpiTest, ControlsScaleInsideTheirWindowsAndApart) {
    start();
    HWND shape = shell().shapeHandles.window;
    const int dpi = windowDpi(shape);
    if (const char* expected = std::getenv("TAVREL_EXPECT_DPI")) {
        ASSERT_EQ(std::atoi(expected), dpi);
    }
    const ShapeWindowHandles& s = shell().shapeHandles;
    std::vector<HWND> controls = {s.tree, s.pointList, s.alphaSlider, s.transformChoice,
                                  s.transformApply};
    for (int i = 0; i < 3; ++i)
        controls.insert(controls.end(),
                        {s.coordinateLabels[i], s.coordinateBoxes[i], s.transformFields[i]});
    // At its first size, and at the smallest the frame lets it be made.
    expectInsideAndApart(shape, controls);
    SetWindowPos(shape, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages();
    EXPECT_EQ(scaledForDpi(kShapeWindowMinimumWidth, dpi),
              windowRect(shape).right - windowRect(shape).left);
    expectInsideAndApart(shape, controls);

    // The palette's cells grow with the DPI (39 × 38 at 96), and the display box's label
    // shows whole.
    HWND toolbar = shell().paletteHandles.toolbar;
    RECT button;
    SendMessageA(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    EXPECT_NEAR(39.0 * dpi / kDefaultDpi, button.right - button.left, 1.0);
    EXPECT_NEAR(38.0 * dpi / kDefaultDpi, button.bottom - button.top, 1.0);
    HWND label = FindWindowExA(toolbar, nullptr, "Static", "Show");
    ASSERT_NE(nullptr, label);
    HDC dc = GetDC(label);
    HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE text = {};
    GetTextExtentPoint32A(dc, "Show", 4, &text);
    SelectObject(dc, before);
    ReleaseDC(label, dc);
    const RECT shown = placeIn(toolbar, label);
    EXPECT_LE(text.cx, shown.right - shown.left);
    EXPECT_LE(text.cy, shown.bottom - shown.top);
    RECT display, beside, box = placeIn(toolbar, shell().paletteHandles.displayCheckBox), both;
    SendMessageA(toolbar, TB_GETITEMRECT, palette::Display, reinterpret_cast<LPARAM>(&display));
    SendMessageA(toolbar, TB_GETITEMRECT, palette::Display - 1, reinterpret_cast<LPARAM>(&beside));
    for (const RECT& part : {shown, box}) {
        EXPECT_TRUE(IntersectRect(&both, &part, &display) && EqualRect(&both, &part));
        EXPECT_FALSE(IntersectRect(&both, &part, &beside));
    }
}

// Places saved at 96 dpi come back in proportion at the screen's DPI (run at 144 by
// tests/tools/high-dpi-test.sh): the main window's client area and the shape window.
TEST_F(DpiTest, PlacesSavedAt96ComeBackAtTheScreensDpi) {
    start("[Session]\r\nx=300\r\ny=40\r\nw=900\r\nh=600\r\ndpi=96\r\n[Windows]\r\nShapeX=20\r\n"
          "ShapeY=30\r\nShapeW=800\r\nShapeH=700\r\nShapeShown=1\r\nShapeDpi=96\r\n");
    const int dpi = systemDpi();
    const POINT origin = clientOrigin(shell().mainHandles.window);
    EXPECT_EQ(scaledForDpi(300, dpi), origin.x);
    EXPECT_EQ(scaledForDpi(40, dpi), origin.y);
    EXPECT_EQ(scaledForDpi(900, dpi), clientRect(shell().mainHandles.window).right);
    const RECT shape = windowRect(shell().shapeHandles.window);
    EXPECT_EQ(scaledForDpi(20, dpi), shape.left);
    EXPECT_EQ(scaledForDpi(30, dpi), shape.top);
    EXPECT_EQ(scaledForDpi(800, dpi), shape.right - shape.left);
    EXPECT_EQ(scaledForDpi(700, dpi), shape.bottom - shape.top);
}
