// The records the program is built around: the application (its windows, the ship, the
// planet, the controllers), the editor's state, the orbit camera, the key and display flags,
// and the settings file they are read from. Each has one definition, in records.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/editor-state.h"
#include "core/key-flags.h"
#include "core/settings-file.h"
#include "editor/document.h"
#include "editor/pick-accelerator.h"
#include "editor/recovery-writer.h"
#include "flight/keyboard-flight.h"
#include "flight/vaisseau.h"
#include "flight/win32/hud.h"
#include "flight/win32/joystick.h"
#include "graphics/d3d11/texture.h"
#include "view/orbit-camera.h"

struct Application {
    Vaisseau ship;
    Document document{ship}; // the ship's model as the file holds it, with its history
    // The document's views in the windows (title, buttons, shape window, picks, recovery copy).
    std::vector<std::unique_ptr<DocumentView>> documentViews;
    HWND mainWindow = nullptr;
    HWND mainViewWindow = nullptr;
    // The scene's models; the ship is the only kind, so the list holds it by its own type.
    std::vector<Vaisseau*> entities;
    HWND secondaryViews[3] = {};
    HACCEL shortcuts = nullptr; // the keyboard shortcuts of the main window's commands
    int64_t lastCounter = 0;
    int64_t counterFrequency = 1;
    LoadedTexture planetTexture; // "1_earth_16k.jpg"
    Hud hud;
    std::unique_ptr<Joystick> joystick; // when DirectInput could be made
    PickAccelerator pickAccelerator;    // the points and nets kept for picking in the view
    flight::FlightKeys flightKeys;      // held in flight mode
    flight::KeyboardFlight keyboardFlight;
    // The recovery copy: its writer, this editor's copy (its name in the recovery folder and
    // the lock held while the editor runs), and whether its last failure was said.
    struct RecoveryCopy {
        RecoveryWriter writer;
        std::string stem;
        HANDLE lock = INVALID_HANDLE_VALUE;
        bool failureTold = false;
    } recovery;
    // The opacity slider's gesture: the model before it (one step when it ends), and whether
    // a command ended it while the thumb was still held.
    struct OpacityGesture {
        std::optional<ModelCopy> before;
        bool cut = false;
    } opacity;
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
// The document the commands change.
inline Document& document() {
    return application.document;
}

// The settings file, ".\session.ini" in the working directory.
const SettingsFile& sessionSettings();
// Reads the values taken before the entry point runs: the editor's CurrentView, Tool, grid,
// loc, LoadedFile, then the camera's values.
void readStartupSettings();
