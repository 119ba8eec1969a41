// Opaque handles of the windows side that the portable records keep. The tags are the
// Windows SDK's own, so the same pointers convert without casts where windows.h is seen.
#pragma once

struct HWND__;
struct _TREEITEM;
struct _IMAGELIST;

using WindowHandle = HWND__*;
using TreeItemHandle = _TREEITEM*;
using ImageListHandle = _IMAGELIST*;
