// The shortcut sheet (F1): every command by menu with its keys and what it does, then the
// keys that are held rather than pressed (the camera, the drags' axes, the ship's controls),
// as rows a window lists or as plain text.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "editor/command-keys.h"

struct SheetRow {
    std::string name, keys, description;
};

struct SheetSection {
    std::string title;
    std::vector<SheetRow> rows;
};

// A key held down for as long as its effect lasts; no command of the table.
struct HeldKeys {
    const char* section;
    const char* name;
    std::array<Key, 3> keys; // Key::None where there are fewer
    KeyContext context;
    const char* description;
};
std::span<const HeldKeys> heldKeys();

// "E (on release)", "Ctrl+Y, Ctrl+Shift+Z".
std::string sheetKeysText(std::span<const KeyBinding> bindings);

std::vector<SheetSection> shortcutSheet();
// One section after another: its title, then a line per row, name, keys and description
// in columns.
std::string shortcutSheetText();
