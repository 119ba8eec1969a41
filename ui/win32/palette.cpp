#include <windows.h>

#include "ui/status-parts.h"
#include "ui/win32/palette.h"

#include <commctrl.h>

#include "core/win32/fatal-error.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/toolbar-pictures.h"
#include "ui/win32/window-dpi.h"

namespace {

constexpr int kToolbarSeparatorId = 999;

// The document toolbar: stock pictures for the window's DPI, the history list as image list
// 0 and the standard list as image list 1.
void createMainToolbar(HWND mainWindow, MainWindowHandles& main) {
    HWND toolbar =
        CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS,
                        0, 0, 0, 0, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!toolbar) fatalError("yo ?", "main toolbar", HRESULT_FROM_WIN32(GetLastError()));
    main.toolbar = toolbar;

    SendMessageA(toolbar, CCM_SETVERSION, 5, 0); // version 5 holds more than one image list
    showMainToolbarPictures(toolbar, windowDpi(mainWindow), main.toolbarImages);

    auto button = [](int list, int image, int id, BYTE state) {
        TBBUTTON b = {};
        b.iBitmap = MAKELONG(image, list);
        b.idCommand = id;
        b.fsState = state;
        b.fsStyle = BTNS_AUTOSIZE;
        return b;
    };
    // Separators get an id of their own: with id 0 the first of them would take the back
    // arrow's messages (a toolbar addresses buttons by command id).
    auto separator = [] {
        TBBUTTON b = {};
        b.idCommand = kToolbarSeparatorId;
        b.fsStyle = BTNS_SEP;
        return b;
    };
    const TBBUTTON buttons[11] = {
        button(1, STD_FILENEW, 4, TBSTATE_ENABLED),
        button(1, STD_FILEOPEN, 5, TBSTATE_ENABLED),
        button(1, STD_FILESAVE, 6, 0),
        separator(),
        // Undo (the back arrow and the undo picture) and redo (the forward arrow) are usable
        // when the history has a step to take.
        button(0, HIST_BACK, 0, 0),
        button(0, HIST_FORWARD, 1, 0),
        separator(),
        button(1, STD_UNDO, 3, 0),
        button(1, STD_REDOW, 2, 0),
        separator(),
        button(1, STD_DELETE, 7, TBSTATE_ENABLED),
    };
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, 11, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar, SW_SHOWNORMAL);
}

void createStatusBar(HWND mainWindow, MainWindowHandles& main) {
    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr,
                                  WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, mainWindow,
                                  reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    main.statusBar = status;
    layOutStatusBar();
}

} // namespace

void createPalette(HWND mainWindow, MainWindowHandles& main, Palette& palette) {
    createMainToolbar(mainWindow, main);
    createStatusBar(mainWindow, main);
    palette.create();
}
