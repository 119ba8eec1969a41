// The records the program is built around: the application (its windows, the ship, the
// planet, the controllers), the editor's state, the orbit camera, the key and display flags,
// and the settings file they are read from. Each has one definition, in records.cpp.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/key-flags.h"
#include "core/settings-file.h"
#include "core/win32/input-timing.h"
#include "editor/document.h"
#include "editor/edit-session.h"
#include "editor/editor-state.h"
#include "editor/join-display.h"
#include "editor/pick-accelerator.h"
#include "editor/recovery-writer.h"
#include "flight/keyboard-flight.h"
#include "flight/vaisseau.h"
#include "flight/win32/hud.h"
#include "flight/win32/joystick.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/d3d11/texture.h"
#include "graphics/gpu-model-copy.h"
#include "ui/win32/document-platform.h"
#include "ui/win32/shape-window-handles.h"
#include "view/orbit-camera.h"
#include "view/reference-picture.h"

// The palette window, its toolbar, the display check box, and the pictures its buttons
// switch between.
struct PaletteHandles {
    HWND window = nullptr;
    HWND toolbar = nullptr;
    HWND displayCheckBox = nullptr;
    int alternateImages[4] = {};
};

extern EditorState editorState;
extern OrbitCamera orbitCamera;

extern EditorState editorState;
extern OrbitCamera orbitCamera;

struct Application {
    Vaisseau ship;
    Document document{ship}; // the ship's model as the file holds it, with its history
    GpuModelCopy shipCopy;   // the ship's model on the device, kept by a view of the document
    // The document's views in the windows (title, buttons, shape window, picks, recovery copy).
    std::vector<std::unique_ptr<DocumentView>> documentViews;
    HWND mainWindow = nullptr;
    HWND mainViewWindow = nullptr;
    HWND mainToolbar = nullptr;
    HIMAGELIST mainToolbarImages = nullptr;
    HWND statusBar = nullptr;
    PaletteHandles palette;
    ShapeWindowHandles shape;
    // The tool, the selection and the gestures under way, changing the document; the add
    // tool lists its clicks in the shape window's tree.
    EditSession session{document, editorState, shape.treeView};
    // The windows that follow the selection (palette buttons, tree marks, status bar).
    std::unique_ptr<SessionView> selectionView;
    // The scene's models; the ship is the only kind, so the list holds it by its own type.
    std::vector<Vaisseau*> entities;
    HWND secondaryViews[3] = {};
    HACCEL shortcuts = nullptr; // the keyboard shortcuts of the main window's commands
    int64_t lastCounter = 0;
    int64_t counterFrequency = 1;
    LoadedTexture planetTexture;        // "1_earth_16k.jpg"
    std::unique_ptr<Renderer> renderer; // made with the main view's window
    InputTiming inputTiming;            // how long an input takes to the next frame
    ShownTiming shownTiming;            // how long an import takes until it shows
    DocumentPrompts prompts = windowsDocumentPrompts();
    // New, Open, Save, Import, Export of the document, asking through prompts.
    DocumentFiles files{document, prompts, windowsDocumentFilesPlatform()};
    // Until the start-up has placed the tool windows, their moves are the program's own.
    bool placingToolWindows = true;
    std::string toolbarTip; // the main toolbar's tooltip, read after its notification
    std::wstring toolbarTipWide;
    Hud hud;
    // The picture to model from: what the session names, and what drawing it needs.
    struct Reference {
        ReferencePicture picture;
        LoadedTexture texture; // none when there is no picture or it could not be read
        float aspect = 1;      // its width over its height
        Microsoft::WRL::ComPtr<ID3D11Buffer> quad;
        Microsoft::WRL::ComPtr<ID3D11PixelShader> shader;
    } reference;
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
};

// The static records the program is built around.
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
// Reads what the shell takes at start, before any window: the editor's CurrentView, Tool,
// grid, loc, LoadedFile, then the camera's values.
void readStartupSettings();
