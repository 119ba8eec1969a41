// The tool palette window, the main window's toolbar and status bar.
#pragma once

#include <windows.h>

// The main toolbar and the status bar (parts ending at 360, 660 and the edge), then the
// palette window. Called by the main window's creation handler.
void createPalette(HWND mainWindow);

// After a selection click: remembers the selected patches (SelectedPatches) and brings the
// selection-dependent buttons up to date.
void refreshSelectionPanel();
// The selection-dependent buttons alone (Ctrl+A's selection is not remembered).
void updateSelectionButtons();

// The palette's outer height that shows every button (two columns).
int paletteOuterHeight();
// The palette sized to show its buttons (two columns) at their size now, its toolbar filling
// it, the display check box in its cell.
void fitPaletteToButtons(HWND palette);

// Whether the "toggleWireframe" button is checked.
bool paletteWireframeChecked();
bool paletteButtonChecked(int button);
// A palette button's command as a click on it runs it (the menus' tools and toggles).
void pressPaletteButton(int button);

// End of start-up: the display check box from the selected patches, then the buttons that
// depend on the selection.
void initialDisplayCheck();
void initialButtonUpdate();

// The joint button's picture follows its state: released (after its first use), pressed,
// or pressed with its first point chosen.
void updateJointButton();

// "stop" is usable in flight, and after it while the ship is away from its start.
void updateStopButton();

LRESULT CALLBACK paletteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
