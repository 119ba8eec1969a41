// The main window's menu bar, made from the command table: File to Help, each item with its
// keys, the Open Recent and Reference Picture submenus. Its items send WM_COMMAND with the
// ids of ui/win32/menu-commands.h.
#pragma once

#include <windows.h>

#include <string>

#include "editor/command-host.h"

class RecentFiles;

// The caller attaches it with SetMenu (the window then owns it).
HMENU createMenuBar();
// WM_INITMENUPOPUP: the popup about to open shows each command as it is now; Open Recent
// lists the recent files.
void showMenuPopup(HMENU popup, const CommandContext& context, const RecentFiles& recent);
// WM_MENUSELECT (menu, LOWORD and HIWORD of wParam): what the item under the pointer does,
// for the status bar (UTF-8); empty for separators, menu titles and a closed menu.
std::string menuItemDescription(HMENU menu, UINT item, UINT flags, const RecentFiles& recent);
