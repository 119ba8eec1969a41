// Keys for the tool windows' controls, looked at before the program's shortcuts and the
// main window: Tab and Shift+Tab move through the shape window's controls, and a focused
// text box keeps its own editing keys.
#pragma once

#include <windows.h>

// Ctrl+A, Ctrl+C, Ctrl+X or Ctrl+V pressed in a text box: the box's own, never a shortcut.
bool isTextBoxEditingKey(const MSG& message);
// The shape window's keyboard as a dialog's (Tab, Shift+Tab, the arrows between buttons);
// true when the message was handled there.
bool handleShapeWindowKeys(HWND shapeWindow, MSG& message);
// In a text box's procedure: Ctrl+A selects all its text (true: the message was handled).
bool selectAllOnCtrlA(HWND box, UINT message, WPARAM wParam);
