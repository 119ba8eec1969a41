#include "ui/win32/palette-display-box.h"

#include <commctrl.h>

#include "ui/dpi-scale.h"
#include "ui/palette-buttons.h"
#include "ui/win32/palette-handles.h"

namespace {

constexpr const char* kDisplayLabel = "Show";
constexpr int kBoxSize = 16; // the check box's square and a little room, at 96 dpi
constexpr int kGap = 2;      // between the cell's edge, the box and the label, at 96 dpi

HWND displayLabel = nullptr;

} // namespace

void createDisplayCheckBox(HWND toolbar, PaletteHandles& palette) {
    // The box keeps its label's text (read by the tests and by screen readers); it shows only
    // its square, and the label under it shows the text whole.
    palette.displayCheckBox =
        CreateWindowExA(0, "BUTTON", kDisplayLabel, WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, 0, 0, 0,
                        0, toolbar, nullptr, GetModuleHandleA(nullptr), nullptr);
    displayLabel = CreateWindowExA(0, "STATIC", kDisplayLabel,
                                   WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOTIFY | SS_NOPREFIX, 0,
                                   0, 0, 0, toolbar, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void placeDisplayCheckBox(const PaletteHandles& palette, int dpi) {
    RECT cell = {};
    SendMessageA(palette.toolbar, TB_GETITEMRECT, palette::Display,
                 reinterpret_cast<LPARAM>(&cell));
    const SIZE button = {cell.right - cell.left, cell.bottom - cell.top};
    const int left = cell.left, top = cell.top;
    const int box = scaledForDpi(kBoxSize, dpi), gap = scaledForDpi(kGap, dpi);
    MoveWindow(palette.displayCheckBox, left + (button.cx - box) / 2, top + gap, box, box, TRUE);
    const int labelTop = top + 2 * gap + box;
    MoveWindow(displayLabel, left, labelTop, button.cx, top + button.cy - labelTop, TRUE);
}

bool clickDisplayLabel(const PaletteHandles& palette, LPARAM lParam) {
    if (!lParam || reinterpret_cast<HWND>(lParam) != displayLabel) return false;
    SendMessageA(palette.displayCheckBox, BM_CLICK, 0, 0);
    return true;
}
