// Files dropped on the main window: the first opens as a file given on the command line does
// (another program's model is imported), after asking about unsaved changes as Open does.
#pragma once

#include <windows.h>

#include <shellapi.h>

// The window takes files dropped on it (WM_DROPFILES).
void acceptDroppedFiles(HWND window);
// WM_DROPFILES; the drop is finished here.
void openDroppedFiles(HDROP drop);
