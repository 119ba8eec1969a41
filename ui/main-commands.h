// The main window's commands: the main toolbar's buttons (their command ids are their
// positions) and the commands reached by keyboard shortcuts only.
#pragma once

enum class MainCommand : int {
    UndoBack = 0, // the back arrow: undo
    Redo = 1,     // the forward arrow
    TakeBack = 2, // the add tool's last pending point
    Undo = 3,
    New = 4,
    Open = 5,
    Save = 6,
    Delete = 7,
    SaveAs = 100,
    ShowPalette = 101,
    ShowShapeWindow = 102,
    Import = 103,
    Export = 104,
    ShowShortcuts = 105, // F1: the shortcut sheet
};
