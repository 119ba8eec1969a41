// The opaque handle of a shape-tree item that the model keeps beside each element. The tag
// is the Windows SDK's own, so the same pointers convert without casts where commctrl.h is
// seen.
#pragma once

struct _TREEITEM;

using TreeItemHandle = _TREEITEM*;
