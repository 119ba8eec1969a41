// The application shell: start-up, the message loop and the frame. The records it runs on
// are in ui/win32/records.h.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/win32/records.h"

// Reads the settings, registers the classes, creates the windows and the renderer, fills the model
// (the file given, else the one the session remembers) and restores the remembered selection
// (not on a file given). Returns false when the main window could not be created.
// givenFile: the file the program was started with ("": the session's own); othersGiven: the
// files given after it, which one editor does not open.
bool startUp(HINSTANCE instance, int showCommand, const std::string& givenFile = "",
             const std::vector<std::string>& othersGiven = {});
// Runs until WM_QUIT; one frame tick whenever the queue is empty.
void runMessageLoop();
void frameTick();
void frameRender();
// Number of views the frame draws: four in the quad layout, else one.
int viewCount();
