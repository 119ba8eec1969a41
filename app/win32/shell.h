// The program's shell: everything the windows work on, the windows themselves, and the
// start-up, message loop and frame that run them. WinMain makes one and runs it; each window
// object and each module of free functions is given its parts from here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/main-window.h"
#include "app/win32/scene-frame.h"
#include "core/win32/input-timing.h"
#include "editor/document.h"
#include "editor/edit-session.h"
#include "editor/editor-state.h"
#include "editor/pick-accelerator.h"
#include "flight/vaisseau.h"
#include "flight/win32/flight-session.h"
#include "graphics/d3d11/renderer.h"
#include "graphics/gpu-model-copy.h"
#include "ui/win32/document-platform.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/palette.h"
#include "ui/win32/recovery.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/tool-overlays.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-layout.h"
#include "view/orbit-camera.h"

class Shell {
  public:
    // Connects the modules of free functions (commands, status bar, document commands,
    // recovery copy, window places) to the parts below; no window is made yet.
    Shell();
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Reads the settings, registers the classes, creates the windows and the renderer, fills
    // the model (the file given, else the one the session remembers) and restores the
    // remembered selection (not on a file given). Returns false when the main window could
    // not be created. givenFile: the file the program was started with ("": the session's
    // own); othersGiven: the files given after it, which one editor does not open.
    bool startUp(HINSTANCE instance, int showCommand, const std::string& givenFile = "",
                 const std::vector<std::string>& othersGiven = {});
    // Runs until WM_QUIT; one frame tick whenever the queue is empty.
    void runMessageLoop();
    void frameTick();
    void frameRender();

    // The editor's state and the camera, read from the settings at start.
    EditorState editor;
    OrbitCamera camera;
    Vaisseau ship;
    Document document{ship}; // the ship's model as the file holds it, with its history
    GpuModelCopy shipCopy;   // the ship's model on the device, kept by a view of the document
    // The document's views in the windows (title, buttons, shape window, picks, recovery copy).
    std::vector<std::unique_ptr<DocumentView>> documentViews;
    MainWindowHandles mainHandles;
    PaletteHandles paletteHandles;
    ShapeWindowHandles shapeHandles;
    // The tool, the selection and the gestures under way, changing the document; the add
    // tool lists its clicks in the shape window's tree.
    EditSession session{document, editor, shapeHandles.treeView};
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
    RecoveryCopy recovery;

    // The window objects, each given the parts above and the windows before it: the views'
    // places, the camera's commands, the palette, the view's mouse, the shape window, the
    // tools' overlays, the reference picture, the scene each view draws and the main window.
    WindowLayout layout;
    ViewCommands views;
    Palette palette;
    ViewMouse mouse;
    ShapeWindow shape;
    ToolOverlays overlays;
    ReferenceView reference;
    SceneFrame scene;
    MainWindow main;

  private:
    void readStartupSettings();
    void prepareProcess();
    bool createMainWindow(HINSTANCE instance);
    void startFrameClock();
    void restoreSelection();
    std::string treeSummary();
    void reportStartup();
};
