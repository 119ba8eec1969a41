#include "editor/command-menus.h"

#include "editor/command-table.h"

std::vector<MenuItem> menuItems(Menu menu) {
    using Kind = MenuItem::Kind;
    std::vector<MenuItem> items;
    Submenu open = Submenu::None;
    for (const Command& command : commandTable()) {
        if (command.menu != menu) continue;
        if (command.submenu != open && open != Submenu::None) {
            items.push_back({Kind::SubmenuEnd, command.id, open});
            open = Submenu::None;
        }
        // A separator above a submenu's first item stands above the submenu itself.
        if (command.separatorBefore && !items.empty()) items.push_back({Kind::Separator});
        if (command.submenu != open) {
            open = command.submenu;
            items.push_back({Kind::SubmenuStart, command.id, open});
        }
        items.push_back({Kind::Command, command.id, command.submenu});
    }
    if (open != Submenu::None) items.push_back({Kind::SubmenuEnd, items.back().command, open});
    return items;
}
