// What the tools show in each viewport while editing.
#pragma once

// Before the model: point markers, the pick ray, selection brackets, guides, locator axes,
// the camera sketch and the rotate gizmo.
void drawOverlays(int viewport, float aspect);
// After the model: the net of the points the add tool is collecting.
void drawPendingNet();
