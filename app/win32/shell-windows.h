// The objects of the palette, the main view and the shape window, built by the shell once the
// records they work on exist: the view's mouse, the tools' overlays and the shape window.
#pragma once

#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/tool-overlays.h"

struct ShellWindows {
    ShellWindows();
    Palette palette;
    ViewMouse mouse;
    ShapeWindow shape;
    ToolOverlays overlays;
};

ShellWindows& shellWindows();
