#include "ui/win32/menu-commands.h"

#include <string>
#include <utility>
#include <vector>

#include "editor/menu-item-look.h"
#include "editor/menu-mnemonics.h"
#include "editor/recent-files.h"
#include "ui/win32/wide-text.h"

namespace {

constexpr int kLongestItemText = 512;

} // namespace

UINT menuId(CommandId id) {
    return kFirstCommandMenuId + static_cast<UINT>(id);
}

UINT acceleratorId(CommandId id) {
    return kFirstAcceleratorId + static_cast<UINT>(id);
}

MenuChoice menuChoice(UINT id) {
    if (id >= kFirstCommandMenuId && id < kFirstCommandMenuId + kCommandCount)
        return {static_cast<CommandId>(id - kFirstCommandMenuId), std::nullopt};
    if (id >= kFirstAcceleratorId && id < kFirstAcceleratorId + kCommandCount)
        return {static_cast<CommandId>(id - kFirstAcceleratorId), std::nullopt};
    if (id >= kFirstRecentFileMenuId && id < kFirstRecentFileMenuId + RecentFiles::kMaxFiles)
        return {std::nullopt, id - kFirstRecentFileMenuId};
    return {};
}

void appendCommandItem(HMENU menu, CommandId id) {
    AppendMenuW(menu, MF_STRING, menuId(id), wideFromUtf8(command(id).name).c_str());
}

void appendSubmenu(HMENU menu, HMENU submenu, const wchar_t* title, UINT id) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    item.wID = id;
    item.hSubMenu = submenu;
    item.dwTypeData = const_cast<wchar_t*>(title);
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

void showCommandStates(HMENU menu, const CommandContext& context) {
    const int count = GetMenuItemCount(menu);
    // The items' looks first: their names, and the submenus' titles, share the menu's
    // underlined letters.
    struct Entry {
        int at;
        std::optional<MenuItemLook> look; // none: a submenu, which keeps its state
        std::string name, keys;
    };
    std::vector<Entry> entries;
    std::vector<std::string> names;
    for (int at = 0; at < count; ++at) {
        if (GetSubMenu(menu, at)) {
            wchar_t text[kLongestItemText] = {};
            GetMenuStringW(menu, static_cast<UINT>(at), text, kLongestItemText, MF_BYPOSITION);
            std::string title = utf8FromWide(text);
            std::erase(title, '&');
            entries.push_back({at, std::nullopt, title, ""});
        } else if (const MenuChoice choice = menuChoice(GetMenuItemID(menu, at)); choice.command) {
            const MenuItemLook look = menuItemLook(command(*choice.command), context);
            const size_t tab = look.text.find('\t');
            entries.push_back({at, look, look.text.substr(0, tab),
                               tab == std::string::npos ? std::string() : look.text.substr(tab)});
        } else {
            continue;
        }
        names.push_back(entries.back().name);
    }
    const std::vector<int> places = mnemonicPlaces(names);
    for (size_t k = 0; k < entries.size(); ++k) {
        const Entry& entry = entries[k];
        std::wstring text = wideFromUtf8(withMnemonic(entry.name, places[k]) + entry.keys);
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING;
        if (entry.look) {
            item.fMask |= MIIM_STATE;
            item.fState = (entry.look->enabled ? MFS_ENABLED : MFS_GRAYED) |
                          (entry.look->checked ? MFS_CHECKED : MFS_UNCHECKED);
        }
        item.dwTypeData = text.data();
        SetMenuItemInfoW(menu, static_cast<UINT>(entry.at), TRUE, &item);
    }
}

void reportMenuItems(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int at = 0; at < count; ++at) {
        wchar_t text[kLongestItemText] = {};
        if (GetMenuStringW(menu, static_cast<UINT>(at), text, kLongestItemText, MF_BYPOSITION) <= 0)
            continue;
        std::string name = utf8FromWide(text);
        name = name.substr(0, name.find('\t'));
        // The underlined letter's mark is not part of the name.
        for (size_t amp = name.find('&'); amp != std::string::npos; amp = name.find('&', amp + 1))
            name.erase(amp, 1);
        const bool greyed = GetMenuState(menu, static_cast<UINT>(at), MF_BYPOSITION) & MF_GRAYED;
        OutputDebugStringA(
            ("Tavrel menu: " + name + (greyed ? " (greyed)" : " (enabled)") + "\n").c_str());
    }
}
