// The main window's commands: the main toolbar's buttons (their command ids are their
// positions) and the commands reached by keyboard shortcuts only.
#pragma once

enum class MainCommand : int {
    TakeBack = 2, // the add tool's last pending point
    New = 4,
    Open = 5,
    Save = 6,
    Delete = 7,
    SaveAs = 100,
    ShowPalette = 101,
    ShowShapeWindow = 102,
};
