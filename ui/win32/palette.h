// The tool palette window, the main window's toolbar and status bar.
#pragma once

#include <windows.h>

#include "core/editor-modes.h"

class EditSession;
class Model;
class Vaisseau;
struct EditorState;
struct MainWindowHandles;
struct OrbitCamera;
struct PaletteHandles;
struct ShapeWindowHandles;
class ViewCommands;
class WindowLayout;

class Palette {
  public:
    // What the palette's buttons work on: the session, the camera and the ship (view and
    // flight buttons), the shape window's opacity slider (usable with a selection), and the
    // main window the table's commands are sent to.
    struct Parts {
        PaletteHandles& handles;
        EditSession& session;
        ShapeWindowHandles& shape;
        OrbitCamera& camera;
        const Vaisseau& ship;
        const MainWindowHandles& main;
        WindowLayout& layout;
        ViewCommands& views;
    };
    explicit Palette(const Parts& parts);
    Palette(const Palette&) = delete;
    Palette& operator=(const Palette&) = delete;

    // The palette window with its buttons, sized to show them.
    HWND create();

    // After a selection click: remembers the selected patches (SelectedPatches) and brings
    // the selection-dependent buttons up to date.
    void refreshSelection();
    // The selection-dependent buttons alone (Ctrl+A's selection is not remembered).
    void updateSelectionButtons();

    // The palette's outer height that shows every button (two columns).
    int outerHeight();
    // The palette sized to show its buttons (two columns) at their size now, its toolbar
    // filling it, the display check box in its cell.
    void fitToButtons(HWND palette);

    // Whether the "toggleWireframe" button is checked.
    bool wireframeChecked();
    bool buttonChecked(int button);
    // A palette button's command as a click on it runs it (the menus' tools and toggles).
    void pressButton(int button);

    // End of start-up: the display check box from the selected patches, then the buttons
    // that depend on the selection.
    void initialDisplayCheck();
    void initialButtonUpdate();

    // The joint button's picture follows its state: released (after its first use),
    // pressed, or pressed with its first point chosen.
    void updateJointButton();
    // "stop" is usable in flight, and after it while the ship is away from its start.
    void updateStopButton();

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Model& model();
    void setButtonState(int id, BYTE state);
    void setButtonImage(int id, int image);
    bool isChecked(int id);
    void createToolbar(HWND palette);
    void toggleGrid();
    // Finishes what is under way (a rotate or translate drag is committed, a point drag
    // recorded), releases the old tool's button, turns the tool off when chosen again, and
    // remembers the new one (Tool). Every tool starts with no pivot, offset or hot point.
    void setTool(Tool tool);
    // "rotate": the rotate tool about the middle of the selection (the origin when nothing
    // is selected), waiting for its first press.
    void startRotate();
    void play();
    void stop();
    void runTableCommandOfButton(int button);
    void onCommand(WPARAM wParam, LPARAM lParam);

    const Parts p_;
    PaletteHandles& h_;   // the palette's own controls
    EditorState& editor_; // the session's
};

// The main toolbar and the status bar, then the palette window. Called by the main window's
// creation handler.
void createPalette(HWND mainWindow, MainWindowHandles& main, Palette& palette);
