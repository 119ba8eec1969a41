// The palette's button pictures at its window's DPI: the 32-pixel bitmaps stretched to the
// scaled size (taken as they are at 96 dpi), in cells scaled from the 96-dpi ones.
#pragma once

#include <windows.h>

// The toolbar's pictures and greyed pictures for the DPI, its buttons as large: at its
// creation and again when the DPI changes. The alternate pictures' indices go to
// palette.alternateImages.
struct PaletteHandles;
void showPalettePictures(HWND toolbar, int dpi, PaletteHandles& palette);

// The size of one of the palette's buttons (its cells) now.
SIZE paletteButtonSize(HWND toolbar);
