// The application shell: the global records, start-up, the message loop and the frame.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "core/editor-state.h"
#include "core/key-flags.h"
#include "core/settings-file.h"
#include "flight/hud.h"
#include "flight/joystick.h"
#include "flight/keyboard-flight.h"
#include "flight/vaisseau.h"
#include "graphics/texture.h"
#include "view/orbit-camera.h"

struct Application {
    Vaisseau ship;
    HWND mainWindow = nullptr;
    HWND mainViewWindow = nullptr;
    // The scene's models; the ship is the only kind, so the list holds it by its own type.
    std::vector<Vaisseau*> entities;
    HWND secondaryViews[3] = {};
    int64_t lastCounter = 0;
    int64_t counterFrequency = 1;
    LoadedTexture planetTexture; // "1_earth_16k.jpg"
    Hud hud;
    Joystick* joystick = nullptr;
    flight::FlightKeys flightKeys; // held in flight mode
    flight::KeyboardFlight keyboardFlight;
};

// The static records the program is built around.
extern EditorState editorState;
extern OrbitCamera orbitCamera;
extern Application application;
extern KeyFlags keyFlags;
extern DisplayFlags displayFlags;

// The model being edited: the current entity (the ship) once start-up has made it.
inline Model& editedModel() {
    return *editorState.currentEntity;
}

// The settings file, ".\session.ini" in the working directory.
const SettingsFile& sessionSettings();
// Reads the values taken before the entry point runs: the editor's CurrentView, Tool, grid,
// loc, LoadedFile, then the camera's values.
void readStartupSettings();

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

// Builds the title from LoadedFile and sets it on the main window.
void updateTitle(bool modified);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
