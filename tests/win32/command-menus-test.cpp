// The command table's Windows front ends on a plain window: the menu bar, the shortcut
// sheet and the greyed button pictures.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "editor/command-table.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/recent-files.h"
#include "fake-command-host.h"
#include "ui/win32/context-menu.h"
#include "ui/win32/greyed-images.h"
#include "ui/win32/menu-bar.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/shortcut-sheet-window.h"
#include "ui/win32/wide-text.h"
#include "win32-test-support.h"

namespace {

std::wstring itemText(HMENU bar, CommandId id) {
    wchar_t text[256] = {};
    GetMenuStringW(bar, menuId(id), text, 256, MF_BYCOMMAND);
    return text;
}

bool hasState(HMENU bar, CommandId id, UINT state) {
    return (GetMenuState(bar, menuId(id), MF_BYCOMMAND) & state) != 0;
}

std::wstring listText(HWND list, int row) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

// The picture's pixel at (x, y) drawn on white, as 0xRRGGBB.
COLORREF pixelOf(HIMAGELIST list, int image, int x, int y) {
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ previous = SelectObject(dc, canvas);
    PatBlt(dc, 0, 0, 16, 16, WHITENESS);
    ImageList_Draw(list, image, dc, 0, 0, ILD_NORMAL);
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixel;
}

} // namespace

TEST(CommandMenusWin32, MenuBarSheetAndGreyedPicturesAreMadeFromTheTable) {
    Model model;
    model.createDefault();
    Document document(model);
    EditorState editor;
    FakeCommandHost host;
    CommandContext context{document, editor, host};
    RecentFiles recent;

    HWND window = CreateWindowExW(0, L"STATIC", L"menus", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    HMENU bar = createMenuBar();
    ASSERT_TRUE(SetMenu(window, bar));
    wchar_t title[32] = {};
    GetMenuStringW(bar, 5, title, 32, MF_BYPOSITION);
    EXPECT_STREQ(title, L"F&light");

    HMENU file = GetSubMenu(bar, 0), edit = GetSubMenu(bar, 1), view = GetSubMenu(bar, 2);
    showMenuPopup(file, context, recent);
    EXPECT_EQ(itemText(bar, CommandId::SaveAs), L"Save &As…\tCtrl+Shift+S");
    GetMenuStringW(file, 2, title, 32, MF_BYPOSITION); // a submenu has its letter too
    EXPECT_STREQ(title, L"Open &Recent");
    showMenuPopup(edit, context, recent);
    EXPECT_TRUE(hasState(bar, CommandId::Undo, MF_GRAYED));
    model.patches[0].selected = true;
    ASSERT_TRUE(runCommand(CommandId::Delete, context).ran);
    showMenuPopup(edit, context, recent);
    EXPECT_FALSE(hasState(bar, CommandId::Undo, MF_GRAYED));
    EXPECT_EQ(itemText(bar, CommandId::Undo),
              wideFromUtf8("&Undo " + document.history().undoName()) + L"\tCtrl+Z");
    editor.shaded = true;
    showMenuPopup(view, context, recent);
    EXPECT_TRUE(hasState(bar, CommandId::Shaded, MF_CHECKED));
    EXPECT_FALSE(hasState(bar, CommandId::Wireframe, MF_CHECKED));
    HMENU popup = createContextMenu(ContextSpot::Empty, context);
    EXPECT_TRUE(hasState(popup, CommandId::Shaded, MF_CHECKED));
    DestroyMenu(popup);
    EXPECT_EQ(menuItemDescription(view, menuId(CommandId::Shaded), 0, recent),
              command(CommandId::Shaded).description);

    // Open Recent lists the files as it opens, newest first, each choosing its index.
    recent.add("C:\\models\\wing.obj");
    recent.add("C:\\models\\R&D.obj");
    HMENU openRecent = GetSubMenu(file, 2);
    ASSERT_TRUE(openRecent);
    showMenuPopup(openRecent, context, recent);
    ASSERT_EQ(GetMenuItemCount(openRecent), 2);
    wchar_t entry[64] = {};
    GetMenuStringW(openRecent, 0, entry, 64, MF_BYPOSITION);
    EXPECT_STREQ(entry, L"&1 C:\\models\\R&&D.obj");
    EXPECT_EQ(menuChoice(GetMenuItemID(openRecent, 1)).recentFile, 1u);
    EXPECT_EQ(menuItemDescription(file, 2, MF_POPUP, recent),
              command(CommandId::OpenRecent).description);

    ShortcutSheetWindow sheet;
    sheet.show(window);
    ASSERT_TRUE(sheet.window());
    const HWND first = sheet.window();
    bool extrude = false;
    for (int row = 0; row < ListView_GetItemCount(sheet.list()); ++row)
        extrude = extrude || listText(sheet.list(), row).starts_with(L"Extrude");
    EXPECT_TRUE(extrude);
    sheet.show(window);
    EXPECT_EQ(sheet.window(), first);
    SendMessageW(sheet.list(), WM_KEYDOWN, VK_ESCAPE, 0);
    pumpMessages();
    EXPECT_FALSE(sheet.window());
    EXPECT_FALSE(IsWindow(first));

    // A picture half red, half blue: two different greys, not one flat box.
    HIMAGELIST pictures = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ previous = SelectObject(dc, picture);
    const RECT left{0, 0, 8, 16}, right{8, 0, 16, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &left, red);
    FillRect(dc, &right, blue);
    SelectObject(dc, previous);
    ImageList_Add(pictures, picture, nullptr);
    HIMAGELIST greyed = createGreyedImageList(pictures);
    ASSERT_TRUE(greyed);
    EXPECT_EQ(ImageList_GetImageCount(greyed), 1);
    const COLORREF a = pixelOf(greyed, 0, 4, 8), b = pixelOf(greyed, 0, 12, 8);
    EXPECT_EQ(GetRValue(a), GetBValue(a));
    EXPECT_EQ(GetRValue(b), GetGValue(b));
    EXPECT_NE(a, b);
    EXPECT_NE(a, RGB(255, 255, 255));
    ImageList_Destroy(greyed);
    ImageList_Destroy(pictures);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteObject(picture);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
}
