// The numbered choices of the editor, named once: the tools of the 3D view, the view modes
// that "switchView" steps through and the two layouts of the view area. Their numbers are
// what session.ini stores (Tool, CurrentView).
#pragma once

// What the program is doing: flying the ship, or editing the model (the start).
enum class Mode : int { Flight = 0, Editing = 1 };

// The current tool of the 3D view.
enum class Tool : int {
    None = 0,      // point drags and camera gestures
    Add = 1,       // sixteen clicks make a patch
    Select = 2,    // clicks select patches
    Rotate = 3,    // turns the selection (or the model) about an axis through its pivot
    Translate = 4, // moves the model on the ground or vertically
    Locator = 5,   // clicks place locators
    Scale = 6,     // grows or shrinks the selection about its pivot
};
inline constexpr int kToolCount = 7;

// "switchView" steps through these in order.
enum class ViewMode : int {
    Orbit = 0, // the remembered orbit angles
    Top = 1,   // looking down the y axis
    Side = 2,  // looking along the x axis
    Quad = 3,  // four views: the orbit view and three along the axes
    Front = 4, // looking along the z axis, single layout again
};
inline constexpr int kViewModeCount = 5;

enum class Layout : int { Single = 0, Quad = 1 };

// What the tools' pivot and offset are for: whether the tool previews a change of the model.
inline bool previewsTransform(Tool tool) {
    return tool == Tool::Rotate || tool == Tool::Translate || tool == Tool::Scale;
}
