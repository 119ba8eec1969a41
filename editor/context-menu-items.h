// What the right-click menu offers: the commands that act on what is under the pointer.
#pragma once

#include <vector>

#include "editor/command-menus.h"

enum class ContextSpot {
    Patch, // a patch: the commands on the selected patches
    Point, // a control point while choosing points: the point commands
    Empty, // no patch: the view's commands
};

// A point while choosing points counts before the patch it lies on.
ContextSpot contextSpot(bool overPatch, bool overPoint, bool choosingPoints);

// Commands and separators only (no submenus).
std::vector<MenuItem> contextMenuItems(ContextSpot spot);
