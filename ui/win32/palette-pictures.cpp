#include "ui/win32/palette-pictures.h"

#include <commctrl.h>

#include <cstdio>

#include "core/win32/fatal-error.h"
#include "ui/dpi-scale.h"
#include "ui/palette-buttons.h"
#include "ui/win32/greyed-images.h"
#include "ui/win32/palette-handles.h"

namespace {

constexpr int kPictureSize = 32; // the bitmaps' size, drawn for 96 dpi
constexpr int kAlternates = 4;

HBITMAP loadButtonBitmap(int id) {
    HBITMAP bitmap = CreateMappedBitmap(GetModuleHandleA(nullptr), id, 0, nullptr, 0);
    if (!bitmap) {
        char line[64];
        std::snprintf(line, sizeof line, "failed with error %lu\n", GetLastError());
        OutputDebugStringA(line);
        fatalError("error", "palette bitmap");
    }
    return bitmap;
}

// The bitmap's picture drawn smoothed at picture × picture in the middle of a bitmap of the
// cell's size, on the buttons' face (the original goes).
HBITMAP stretched(HBITMAP bitmap, int picture, SIZE cell) {
    if (picture == kPictureSize && cell.cx == kPictureSize && cell.cy == kPictureSize)
        return bitmap;
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HBITMAP made = CreateCompatibleBitmap(screen, cell.cx, cell.cy);
    HGDIOBJ oldFrom = SelectObject(from, bitmap), oldTo = SelectObject(to, made);
    const RECT all = {0, 0, cell.cx, cell.cy};
    FillRect(to, &all, GetSysColorBrush(COLOR_BTNFACE));
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, (cell.cx - picture) / 2, (cell.cy - picture) / 2, picture, picture, from, 0, 0,
               kPictureSize, kPictureSize, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return made;
}

} // namespace

void showPalettePictures(HWND toolbar, int dpi, PaletteHandles& palette) {
    // The toolbar adds its padding to the pictures' size, and takes no other (Wine's keeps
    // at most 2 pixels of a padding set, and measures its buttons again over a size set): the
    // pictures are made as large as the 96-dpi cell scaled, less that padding.
    const DWORD padding = static_cast<DWORD>(SendMessageA(toolbar, TB_GETPADDING, 0, 0));
    const SIZE cell = {scaledForDpi(kPictureSize + LOWORD(padding), dpi) - LOWORD(padding),
                       scaledForDpi(kPictureSize + HIWORD(padding), dpi) - HIWORD(padding)};
    const int picture = scaledForDpi(kPictureSize, dpi);
    auto* images = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    const bool first = images == nullptr;
    if (first)
        images =
            ImageList_Create(cell.cx, cell.cy, ILC_COLOR16 | ILC_MASK, palette::ButtonCount, 0);
    else
        ImageList_SetIconSize(images, cell.cx, cell.cy); // empties it

    HBITMAP bitmaps[palette::ButtonCount];
    for (int i = 0; i < palette::ButtonCount; ++i) {
        bitmaps[i] = stretched(loadButtonBitmap(palette::kButtons[i].bitmap), picture, cell);
        ImageList_Add(images, bitmaps[i], nullptr);
    }
    for (int k = 0; k < kAlternates; ++k) {
        HBITMAP alternate =
            stretched(loadButtonBitmap(palette::kAlternateBitmaps[k]), picture, cell);
        palette.alternateImages[k] = ImageList_Add(images, alternate, nullptr);
        DeleteObject(alternate);
    }
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(cell.cx, cell.cy));
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    // Greyed buttons (stop on the ground, group with nothing to group) keep their pictures.
    auto* greyed = reinterpret_cast<HIMAGELIST>(
        SendMessageA(toolbar, TB_SETDISABLEDIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(createGreyedImageList(images))));
    if (greyed) ImageList_Destroy(greyed);
    if (first) {
        // The toolbar counts its pictures from the bitmaps it is given: without them it
        // draws none of the list's.
        for (HBITMAP bitmap : bitmaps) {
            TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
            SendMessageA(toolbar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&add));
        }
    } else {
        for (HBITMAP bitmap : bitmaps)
            DeleteObject(bitmap);
    }
}

SIZE paletteButtonSize(HWND toolbar) {
    const DWORD size = static_cast<DWORD>(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    return {LOWORD(size), HIWORD(size)};
}
