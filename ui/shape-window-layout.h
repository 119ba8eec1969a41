// Where the shape window's controls go at any size of its client area: the tree and the
// point list side by side on top, taking the height the lower part leaves (up to the first
// layout's 600 pixels); under them the coordinate boxes beside the opacity slider, then the
// transform row (on two lines when the window is too narrow for one). Every control stays
// inside from the smallest size up.
#pragma once

#include "ui/dpi-scale.h"

struct ControlPlace {
    int x = 0, y = 0, width = 0, height = 0;
};

struct ShapeWindowLayout {
    ControlPlace tree, pointList;
    ControlPlace labels[3], coordinateBoxes[3];
    ControlPlace slider;
    ControlPlace transformChoice; // its height includes the dropped list
    ControlPlace transformFields[3];
    ControlPlace transformApply;
};

// The smallest outer size the window can be given (every control is still reachable there).
inline constexpr int kShapeWindowMinimumWidth = 300, kShapeWindowMinimumHeight = 250;

// Lengths are given for 96 dpi and scaled to the window's DPI.
ShapeWindowLayout shapeWindowLayout(int clientWidth, int clientHeight, int dpi = kDefaultDpi);
