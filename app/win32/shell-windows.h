// The window objects, built by the shell once the records they work on exist: the camera's
// commands, the palette,
// the view's mouse, the shape window, the tools' overlays, the scene each view draws and the
// main window.
#pragma once

#include "app/win32/main-window.h"
#include "app/win32/scene-frame.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/tool-overlays.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-layout.h"

struct ShellWindows {
    ShellWindows();
    WindowLayout layout;
    ViewCommands views;
    Palette palette;
    ViewMouse mouse;
    ShapeWindow shape;
    ToolOverlays overlays;
    ReferenceView reference;
    SceneFrame scene;
    MainWindow main;
};

ShellWindows& shellWindows();
