// The 3D view's mouse: every button and move message of the main window goes through here
// to picking, selection, the camera gestures and the tools.
#pragma once

#include <cstdint>
#include <optional>

#include <windows.h>

#include "core/vector-math.h"
#include "editor/point-transform.h"

// WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP; false for any other message.
bool handleViewMouse(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam);

// The axis a drag of points is held to: X, Y or Z down, else free.
Axis heldAxis();

// The shown patch under the mouse pointer and where on it (its u and v), if any.
struct PatchSpot {
    uint32_t patch = 0;
    float u = 0.5f, v = 0.5f;
};
std::optional<PatchSpot> patchUnderPointer();

// The edited model's points to the screen of a viewport of the given aspect (−1..1).
vm::Mat4 worldViewProjectionOf(int viewport, float aspect);
