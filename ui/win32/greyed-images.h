// A toolbar's pictures for its greyed buttons: each picture drawn in light greys, its shape
// kept, for TB_SETDISABLEDIMAGELIST.
#pragma once

#include <windows.h>

#include <commctrl.h>

// A new list of the same size and count (the caller destroys it); nullptr when it could
// not be made.
HIMAGELIST createGreyedImageList(HIMAGELIST pictures);
