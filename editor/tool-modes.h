// The current tool of the 3D view: none (0), add (1), select (2), rotate (3), translate (4),
// locator (5).
#pragma once

// Releases the old tool's palette button, commits a pending rotation or translation, turns
// the tool off when chosen again, and remembers the new one (Tool).
void setTool(int tool);

// The palette's "rotate": the rotate tool about the middle of the selection (the origin
// when nothing is selected), waiting for its first press.
void startRotate();
// Applies the previewed rotation or translation to the points.
void commitTransform();
