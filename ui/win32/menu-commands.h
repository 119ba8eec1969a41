// The table's commands as menu items: the ids WM_COMMAND carries, and items shown as the
// command is now (its name and step, keys, greyed, checked). The menu bar and the context
// menu share them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "editor/command-host.h"

// Far above the main window's own command ids (ui/main-commands.h) and below the system
// menu's (0xF000).
inline constexpr UINT kFirstCommandMenuId = 0x1000;
inline constexpr UINT kFirstRecentFileMenuId = kFirstCommandMenuId + 0x100;
static_assert(kFirstCommandMenuId + kCommandCount <= kFirstRecentFileMenuId);
// The shortcuts' ids are not the menu items': an accelerator whose id names a greyed item
// sends no WM_COMMAND, and a shortcut should reach its command, which says why it cannot run
// ("Nothing to undo").
inline constexpr UINT kFirstAcceleratorId = kFirstRecentFileMenuId + 0x100;
UINT acceleratorId(CommandId id);

UINT menuId(CommandId id);

// What a WM_COMMAND id chose: a command, an entry of Open Recent (its index in the list),
// or neither (an id of another control).
struct MenuChoice {
    std::optional<CommandId> command;
    std::optional<size_t> recentFile;
};
MenuChoice menuChoice(UINT id);

void appendCommandItem(HMENU menu, CommandId id);
// A submenu item whose id names what it stands for (0: nothing), so WM_MENUSELECT can tell.
void appendSubmenu(HMENU menu, HMENU submenu, const wchar_t* title, UINT id);
// Every command item of the menu (not its submenus) as the command is now.
void showCommandStates(HMENU menu, const CommandContext& context);
// The debugger hears each item of a menu that opens: "Tavrel menu: Undo Extrude (enabled)"
// (the end-to-end tests read the menus there).
void reportMenuItems(HMENU menu);
