// The 3D view's mouse: every button and move message of the main window goes through here
// to picking, selection, the camera gestures and the tools.
#pragma once

#include <windows.h>

// WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP; false for any other message.
bool handleViewMouse(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets picks that may name points or patches that no longer exist, and recounts the
// point uses, whenever the model's point or patch count has changed since the last look.
void syncPickState();

// Writes the selection to the debugger output (what the view shows as highlighted).
void reportSelection(const char* why);
