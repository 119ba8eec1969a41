// The menus as the table orders them: each menu's items, its separators and its submenus.
#pragma once

#include <vector>

#include "editor/command-ids.h"

struct MenuItem {
    enum class Kind { Command, Separator, SubmenuStart, SubmenuEnd };
    Kind kind = Kind::Command;
    CommandId command = CommandId::New; // Command
    Submenu submenu = Submenu::None;    // SubmenuStart, SubmenuEnd
};

std::vector<MenuItem> menuItems(Menu menu);
