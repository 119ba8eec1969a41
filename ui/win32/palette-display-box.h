// The palette's display check box (the selected patches shown or hidden) in the cell of the
// display button: its box above its label, "Show" whole in a cell one picture wide.
#pragma once

#include <windows.h>

struct PaletteHandles;

// The box goes to palette.displayCheckBox.
void createDisplayCheckBox(HWND toolbar, PaletteHandles& palette);
// The box and its label placed in the display button's cell, for the DPI.
void placeDisplayCheckBox(const PaletteHandles& palette, int dpi);
// A click on the label clicks the box, as a check box's own label does. True when lParam
// (a WM_COMMAND's) came from the label.
bool clickDisplayLabel(const PaletteHandles& palette, LPARAM lParam);
