// The palette's 19 buttons: command ids, tooltips, pictures and start states.
#pragma once

#include <optional>

#include "core/editor-modes.h"
#include "editor/command-ids.h"

namespace palette {

enum Command {
    SwitchView = 0,
    ToggleWireframe = 1,
    Add = 2,
    ToggleGrid = 3,
    Play = 4,
    Stop = 5,
    CenterSelect = 6,
    Select = 7,
    Dissociate = 8,
    Center = 9,
    Joint = 10,
    Display = 11,
    Ungroup = 12,
    Group = 13,
    Rotate = 14,
    Translate = 15,
    Locator = 16,
    Symetry = 17,
    Scale = 18,
    ButtonCount = 19,
};

struct Button {
    const char* text;
    int bitmap;
    bool check; // a toggle button, else a push button
    bool greyed;
};

inline constexpr Button kButtons[ButtonCount] = {
    {"switchView", 108, true, false},
    {"toggleWireframe", 105, true, false},
    {"add", 106, true, false},
    {"toggleGrid", 111, true, false},
    {"play (arrows: pitch and roll, Q/E: yaw, PgUp/PgDn: throttle, Backspace: cut, Home: back "
     "to the start)",
     118, false, false},
    {"stop (again, or Home: back to the start)", 119, false, true},
    {"centerselect", 123, false, false},
    {"select", 121, true, false},
    {"dissociate", 124, true, false},
    {"center", 114, false, false},
    {"joint", 125, true, false},
    {"display", 125, false, false},
    {"ungroup (the selected patches leave their group or symmetry)", 129, false, true},
    {"group", 128, false, true},
    {"rotate", 130, true, false},
    {"translate", 131, true, false},
    {"locator", 132, true, false},
    {"symetry", 134, false, false},
    {"scale (drag away from the pivot to grow, towards it to shrink; X, Y or Z held: along that "
     "axis)",
     135, true, false},
};

// Pictures loaded after the 19: grid and locators, flying, joint released, joint pending.
inline constexpr int kAlternateBitmaps[4] = {112, 117, 126, 127};

// The button of each tool (Tool::None has none), in the tools' order.
inline constexpr int kToolButton[kToolCount] = {-1, Add, Select, Rotate, Translate, Locator, Scale};
inline int toolButton(Tool tool) {
    return kToolButton[static_cast<int>(tool)];
}
inline bool isToolButton(int button) {
    for (int b : kToolButton)
        if (b >= 0 && b == button) return true;
    return false;
}

// The table's command of each button, whose tooltip it shows (the display button has none:
// its check box shows or hides the selection).
inline std::optional<CommandId> buttonCommand(int button) {
    using C = CommandId;
    constexpr std::optional<C> kCommands[ButtonCount] = {
        C::NextView,      C::Wireframe,         C::AddTool,    C::Grid,       C::Play,
        C::Stop,          C::CentreOnSelection, C::SelectTool, C::Dissociate, C::CentreView,
        C::Joint,         std::nullopt,         C::Ungroup,    C::Group,      C::RotateTool,
        C::TranslateTool, C::LocatorTool,       C::Symmetry,   C::ScaleTool};
    return button >= 0 && button < ButtonCount ? kCommands[button] : std::nullopt;
}

// The buttons whose command, run from a menu or a key, presses the button itself (the
// toggles, the tools, play and stop); the other commands do their work without it.
inline bool commandPressesButton(int button) {
    switch (button) {
    case ToggleWireframe:
    case Add:
    case ToggleGrid:
    case Play:
    case Stop:
    case Select:
    case Dissociate:
    case Joint:
    case Rotate:
    case Translate:
    case Locator:
    case Scale:
        return true;
    default:
        return false;
    }
}

// The button a command presses, if any.
inline std::optional<int> buttonPressedBy(CommandId id) {
    for (int button = 0; button < ButtonCount; ++button)
        if (commandPressesButton(button) && buttonCommand(button) == id) return button;
    return std::nullopt;
}

} // namespace palette
