// Files dropped on the main window: the first opens as a file given on the command line does
// (another program's model is imported), after asking about unsaved changes as Open does.
#pragma once

#include <windows.h>

#include <shellapi.h>

// The window takes files dropped on it (WM_DROPFILES).
void acceptDroppedFiles(HWND window);
// WM_DROPFILES of window; the drop is finished here. A drop while a question or a message is
// open (window disabled behind it, or an earlier drop still opening) is refused: opened under
// the question, its answer would apply to another document than the one it names.
void openDroppedFiles(HWND window, HDROP drop);
