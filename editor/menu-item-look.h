// How a menu shows a command now: its name with its keys, whether it can run, its check
// mark. The menu bar and the context menu show the same.
#pragma once

#include <string>

#include "editor/command-table.h"

struct MenuItemLook {
    std::string text; // "Undo Extrude\tCtrl+Z" (UTF-8; the keys after a tab, as menus align them)
    bool enabled = true;
    bool checked = false;
};

MenuItemLook menuItemLook(const Command& command, const CommandContext& context);
