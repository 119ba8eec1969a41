// The right-click menu: the commands that act on what is under the pointer, shown as the
// menu bar shows them.
#pragma once

#include <windows.h>

#include <optional>

#include "editor/command-host.h"
#include "editor/context-menu-items.h"

// The popup, its items as they are now (the caller destroys it).
HMENU createContextMenu(ContextSpot spot, const CommandContext& context);
// Opens it at a point of the screen and waits: the command chosen, nullopt when dismissed.
std::optional<CommandId> showContextMenu(HWND owner, POINT screen, ContextSpot spot,
                                         const CommandContext& context);
