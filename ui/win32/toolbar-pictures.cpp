#include "ui/win32/toolbar-pictures.h"

#include <commctrl.h>

#include "ui/dpi-scale.h"
#include "ui/win32/greyed-images.h"

namespace {

constexpr int kSmallSize = 16, kLargeSize = 24;

// A list the toolbar held, replaced by another.
void replaceList(HWND toolbar, UINT message, int index, HIMAGELIST list) {
    auto* old = reinterpret_cast<HIMAGELIST>(
        SendMessageA(toolbar, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(list)));
    if (old && old != list) ImageList_Destroy(old);
}

} // namespace

void showMainToolbarPictures(HWND toolbar, int dpi, HIMAGELIST& toolbarImages) {
    const bool large = scaledForDpi(kSmallSize, dpi) >= kLargeSize;
    const int size = large ? kLargeSize : kSmallSize;
    // TB_LOADIMAGES fills the list set as list 0; each set is taken from there in turn.
    HIMAGELIST loading = ImageList_Create(size, size, ILC_COLOR16 | ILC_MASK, 4, 0);
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(loading));
    SendMessageA(toolbar, TB_LOADIMAGES, large ? IDB_STD_LARGE_COLOR : IDB_STD_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    HIMAGELIST standard = ImageList_Duplicate(loading);
    ImageList_RemoveAll(loading);
    SendMessageA(toolbar, TB_LOADIMAGES, large ? IDB_HIST_LARGE_COLOR : IDB_HIST_SMALL_COLOR,
                 reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    HIMAGELIST history = ImageList_Duplicate(loading);
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(history));
    ImageList_Destroy(loading);
    if (toolbarImages) ImageList_Destroy(toolbarImages);
    toolbarImages = history;
    replaceList(toolbar, TB_SETIMAGELIST, 1, standard);
    // Greyed buttons (undo with nothing to undo) show their pictures greyed, not blank.
    replaceList(toolbar, TB_SETDISABLEDIMAGELIST, 0, createGreyedImageList(history));
    replaceList(toolbar, TB_SETDISABLEDIMAGELIST, 1, createGreyedImageList(standard));
}
