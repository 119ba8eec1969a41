// The records the windows still share until each is given its parts: the application (the
// ship, its document and session, the windows' handles, the renderer, the flight, the
// recovery copy), the editor's state and the orbit camera. Each has one definition, in
// records.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/win32/input-timing.h"
#include "editor/document.h"
#include "editor/edit-session.h"
#include "editor/editor-state.h"
#include "editor/pick-accelerator.h"
#include "editor/recovery-writer.h"
#include "flight/vaisseau.h"
#include "flight/win32/flight-session.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/gpu-model-copy.h"
#include "ui/win32/document-platform.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "view/orbit-camera.h"

extern EditorState editorState;
extern OrbitCamera orbitCamera;

struct Application {
    Vaisseau ship;
    Document document{ship}; // the ship's model as the file holds it, with its history
    GpuModelCopy shipCopy;   // the ship's model on the device, kept by a view of the document
    // The document's views in the windows (title, buttons, shape window, picks, recovery copy).
    std::vector<std::unique_ptr<DocumentView>> documentViews;
    MainWindowHandles main;
    PaletteHandles palette;
    ShapeWindowHandles shape;
    // The tool, the selection and the gestures under way, changing the document; the add
    // tool lists its clicks in the shape window's tree.
    EditSession session{document, editorState, shape.treeView};
    // The windows that follow the selection (palette buttons, tree marks, status bar).
    std::unique_ptr<SessionView> selectionView;
    // The scene's models; the ship is the only kind, so the list holds it by its own type.
    std::vector<Vaisseau*> entities;
    HACCEL shortcuts = nullptr; // the keyboard shortcuts of the main window's commands
    int64_t lastCounter = 0;
    int64_t counterFrequency = 1;
    std::unique_ptr<Renderer> renderer; // made with the main view's window
    InputTiming inputTiming;            // how long an input takes to the next frame
    ShownTiming shownTiming;            // how long an import takes until it shows
    DocumentPrompts prompts = windowsDocumentPrompts();
    // New, Open, Save, Import, Export of the document, asking through prompts.
    DocumentFiles files{document, prompts, windowsDocumentFilesPlatform()};
    // Until the start-up has placed the tool windows, their moves are the program's own.
    bool placingToolWindows = true;
    PickAccelerator pickAccelerator; // the points and nets kept for picking in the view
    FlightSession flight{ship};
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

// The model being edited: the current entity (the ship) once start-up has made it.
inline Model& editedModel() {
    return *editorState.currentEntity;
}
// The document the commands change.
inline Document& document() {
    return application.document;
}

// Reads what the shell takes at start, before any window: the editor's CurrentView, Tool,
// grid, loc, LoadedFile, then the camera's values.
void readStartupSettings();
