// The application shell: start-up, the message loop and the frame. The records it runs on
// are in core/win32/records.h.
#pragma once

#include <windows.h>

#include <string>

#include "core/win32/records.h"

// Registers the classes, creates the windows and the renderer, fills the model and restores
// the selection. Returns false when the main window could not be created.
bool startUp(HINSTANCE instance, int showCommand);
// Runs until WM_QUIT; one frame tick whenever the queue is empty.
void runMessageLoop();
void frameTick();
void frameRender();
// Number of views the frame draws: four in the quad layout, else one.
int viewCount();

// The ship back where it started (position, orientation, velocity and rates), the keyboard's
// controls centred and the throttle closed; in either mode.
void returnHome();

// Builds the title from the document's path and sets it on the main window.
void updateTitle(const std::string& path, bool modified);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
