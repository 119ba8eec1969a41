#include "ui/win32/menu-bar.h"

#include <vector>

#include "editor/command-menus.h"
#include "editor/command-table.h"
#include "editor/recent-files.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/wide-text.h"

namespace {

// The letter of each menu's title that Alt opens it with (Flight's F is File's).
constexpr char kMnemonics[kMenuCount] = {'F', 'E', 'V', 'T', 'S', 'l', 'H'};
constexpr const wchar_t* kNoRecentFiles = L"No Recent Files";

std::wstring titleWithMnemonic(Menu menu) {
    std::string title = menuTitle(menu);
    const size_t at = title.find(kMnemonics[static_cast<size_t>(menu)]);
    if (at != std::string::npos) title.insert(at, "&");
    return wideFromUtf8(title);
}

// A file name in a menu: "&1 C:\models\wing.obj", its own ampersands doubled.
std::wstring recentFileText(size_t index, const std::string& path) {
    std::wstring text = L"&" + std::to_wstring(index + 1) + L" ";
    for (wchar_t c : wideFromAnsi(path))
        text += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    return text;
}

bool isOpenRecent(HMENU popup) {
    if (GetMenuItemCount(popup) == 0) return false;
    const MenuChoice first = menuChoice(GetMenuItemID(popup, 0));
    return first.recentFile || first.command == CommandId::OpenRecent;
}

void listRecentFiles(HMENU popup, const RecentFiles& recent) {
    while (GetMenuItemCount(popup) > 0)
        DeleteMenu(popup, 0, MF_BYPOSITION);
    const auto& files = recent.files();
    for (size_t index = 0; index < files.size(); ++index)
        AppendMenuW(popup, MF_STRING, kFirstRecentFileMenuId + static_cast<UINT>(index),
                    recentFileText(index, files[index]).c_str());
    if (files.empty())
        AppendMenuW(popup, MF_STRING | MF_GRAYED, menuId(CommandId::OpenRecent), kNoRecentFiles);
}

HMENU createMenu(Menu menu) {
    using Kind = MenuItem::Kind;
    std::vector<HMENU> open{CreatePopupMenu()};
    for (const MenuItem& item : menuItems(menu)) {
        switch (item.kind) {
        case Kind::Command:
            // Open Recent's entries are the files, listed as it opens.
            if (item.command == CommandId::OpenRecent)
                AppendMenuW(open.back(), MF_STRING | MF_GRAYED, menuId(item.command),
                            kNoRecentFiles);
            else
                appendCommandItem(open.back(), item.command);
            break;
        case Kind::Separator:
            AppendMenuW(open.back(), MF_SEPARATOR, 0, nullptr);
            break;
        case Kind::SubmenuStart: {
            HMENU submenu = CreatePopupMenu();
            const bool recent = item.submenu == Submenu::OpenRecent;
            appendSubmenu(open.back(), submenu, wideFromUtf8(submenuTitle(item.submenu)).c_str(),
                          recent ? menuId(CommandId::OpenRecent) : 0);
            open.push_back(submenu);
            break;
        }
        case Kind::SubmenuEnd:
            open.pop_back();
            break;
        }
    }
    return open.front();
}

} // namespace

HMENU createMenuBar() {
    HMENU bar = CreateMenu();
    for (int menu = 0; menu < kMenuCount; ++menu)
        appendSubmenu(bar, createMenu(static_cast<Menu>(menu)),
                      titleWithMnemonic(static_cast<Menu>(menu)).c_str(), 0);
    return bar;
}

void showMenuPopup(HMENU popup, const CommandContext& context, const RecentFiles& recent) {
    if (isOpenRecent(popup))
        listRecentFiles(popup, recent);
    else
        showCommandStates(popup, context);
}

std::string menuItemDescription(HMENU menu, UINT item, UINT flags, const RecentFiles& recent) {
    constexpr UINT kMenuClosed = 0xFFFF;
    if (!menu || flags == kMenuClosed || (flags & MF_SEPARATOR)) return {};
    UINT id = item;
    if (flags & MF_POPUP) { // item is the submenu's position; its id says what it is
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        if (!GetMenuItemInfoW(menu, item, TRUE, &info)) return {};
        id = info.wID;
    }
    const MenuChoice choice = menuChoice(id);
    if (choice.command) return command(*choice.command).description;
    if (choice.recentFile && *choice.recentFile < recent.files().size())
        return "opens " + utf8FromWide(wideFromAnsi(recent.files()[*choice.recentFile]));
    return {};
}
