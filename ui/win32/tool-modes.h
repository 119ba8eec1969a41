// The current tool of the 3D view, and the gestures that are under way in it.
#pragma once

#include "core/editor-modes.h"

// Finishes what is under way (a rotate or translate drag is committed, a point drag
// recorded), releases the old tool's palette button, turns the tool off when chosen again,
// and remembers the new one (Tool). Every tool starts with no pivot, offset or hot point.
void setTool(Tool tool);

// The palette's "rotate": the rotate tool about the middle of the selection (the origin
// when nothing is selected), waiting for its first press.
void startRotate();
