#include "ui/win32/shape-window-layout.h"

#include <cstdio>

#include "ui/shape-window-layout.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/window-dpi.h"

namespace {

void place(HDWP& batch, HWND control, const ControlPlace& at) {
    if (!control || !batch) return;
    batch = DeferWindowPos(batch, control, nullptr, at.x, at.y, at.width, at.height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where the first coordinate box and Apply are now, read back from the controls, for the
// debugger output (what a user can reach at this size).
void reportPlaces(HWND window, const RECT& client, const ShapeWindowHandles& shape) {
    auto placeOf = [window](HWND control) {
        RECT r = {};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT box = placeOf(shape.coordinateBoxes[0]);
    const RECT apply = placeOf(shape.transformApply);
    char line[200];
    std::snprintf(line, sizeof line,
                  "Tavrel shape window %ld x %ld: x box at %ld %ld, Apply at %ld %ld to %ld %ld\n",
                  client.right, client.bottom, box.left, box.top, apply.left, apply.top,
                  apply.right, apply.bottom);
    OutputDebugStringA(line);
}

} // namespace

void placeShapeControls(HWND window, const ShapeWindowHandles& shape) {
    RECT client;
    if (!GetClientRect(window, &client)) return;
    const ShapeWindowLayout layout =
        shapeWindowLayout(client.right, client.bottom, windowDpi(window));
    constexpr int kControls = 14;
    HDWP batch = BeginDeferWindowPos(kControls);
    place(batch, shape.tree, layout.tree);
    place(batch, shape.pointList, layout.pointList);
    for (int i = 0; i < 3; ++i) {
        place(batch, shape.coordinateLabels[i], layout.labels[i]);
        place(batch, shape.coordinateBoxes[i], layout.coordinateBoxes[i]);
        place(batch, shape.transformFields[i], layout.transformFields[i]);
    }
    place(batch, shape.alphaSlider, layout.slider);
    place(batch, shape.transformChoice, layout.transformChoice);
    place(batch, shape.transformApply, layout.transformApply);
    if (batch) EndDeferWindowPos(batch);
    if (shape.transformApply) reportPlaces(window, client, shape);
    // What the controls uncovered is painted again with the window's face.
    InvalidateRect(window, nullptr, TRUE);
}

void limitShapeWindowSize(HWND window, MINMAXINFO& limits) {
    const int dpi = windowDpi(window);
    limits.ptMinTrackSize.x = scaledForDpi(kShapeWindowMinimumWidth, dpi);
    limits.ptMinTrackSize.y = scaledForDpi(kShapeWindowMinimumHeight, dpi);
}

void fitShapeControlsToDpi(HWND window, const ShapeWindowHandles& shape) {
    setControlFonts(window, windowDpi(window));
    // The owner-drawn list's rows are as tall as a line of its font (asked once, at its
    // creation, so told again).
    if (HWND list = shape.pointList) {
        HDC dc = GetDC(list);
        auto* font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
        HGDIOBJ before = font ? SelectObject(dc, font) : nullptr; // else the system font
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        if (before) SelectObject(dc, before);
        ReleaseDC(list, dc);
        if (metrics.tmHeight > 0) SendMessageA(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
    }
    placeShapeControls(window, shape);
}
