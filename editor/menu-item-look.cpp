#include "editor/menu-item-look.h"

MenuItemLook menuItemLook(const Command& command, const CommandContext& context) {
    const std::string keys = keysText(command);
    return {shownName(command, context.document) + (keys.empty() ? "" : "\t" + keys),
            canRun(command, context), checkedState(command, context).value_or(false)};
}
