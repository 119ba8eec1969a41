#include "ui/win32/context-menu.h"

#include "ui/win32/menu-commands.h"

HMENU createContextMenu(ContextSpot spot, const CommandContext& context) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : contextMenuItems(spot)) {
        if (item.kind == MenuItem::Kind::Separator)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            appendCommandItem(menu, item.command);
    }
    showCommandStates(menu, context);
    return menu;
}

std::optional<CommandId> showContextMenu(HWND owner, POINT screen, ContextSpot spot,
                                         const CommandContext& context) {
    HMENU menu = createContextMenu(spot, context);
    // TPM_RETURNCMD: the choice comes back here rather than as a WM_COMMAND.
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                         screen.x, screen.y, owner, nullptr));
    DestroyMenu(menu);
    return menuChoice(chosen).command;
}
