// Where the four views of the quad layout lie in the view area: the main view (viewport 0)
// at the bottom right, viewports 1, 2 and 3 at the top left, top right and bottom left. Each
// is half the area's width and height, rounded down (an odd width leaves the last column to
// none); the centre lines belong to the left column and the top row. One answer for placing
// the views' windows and for finding the view under the mouse.
#pragma once

struct ViewRect {
    int x = 0, y = 0, width = 0, height = 0; // relative to the view area's top left
};

ViewRect quadViewRect(int viewport, int areaWidth, int areaHeight);
// The viewport under (x, y) of the view area.
int quadViewportAt(int x, int y, int areaWidth, int areaHeight);
