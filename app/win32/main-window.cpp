// The main window's procedure: keyboard state and toggles, the cursor, the view layout, and
// the mouse messages that belong to the tools.
#include "app/win32/main-window.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "app/win32/scene-frame.h"
#include "core/key-flags.h"
#include "core/session-keys.h"
#include "core/win32/fatal-error.h"
#include "core/win32/key-state.h"
#include "editor/document-files.h"
#include "editor/editor-state.h"
#include "flight/win32/flight-session.h"
#include "graphics/d3d11/renderer.h"
#include "ui/main-commands.h"
#include "ui/win32/commands.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/dropped-files.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/key-commands.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/menu-bar.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/recent-file-list.h"
#include "ui/win32/recovery.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/shell-command-host.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/view-context-menu.h"
#include "ui/win32/wide-text.h"
#include "ui/win32/window-layout.h"
#include "ui/win32/window-object.h"
#include "view/orbit-camera.h"

namespace {

// The menu bar's height, for the end-to-end tests: without a window manager the main
// window's X window holds the menu bar above the client area.
void reportMenuBar(HWND window) {
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    const long height =
        GetMenuBarInfo(window, OBJID_MENU, 0, &bar) ? bar.rcBar.bottom - bar.rcBar.top : 0;
    char line[64];
    std::snprintf(line, sizeof line, "Tavrel menu bar: %ld pixels high\n", height);
    OutputDebugStringA(line);
}

// The menus' items, the accelerators (their ids are the menus') and the toolbar's buttons.
void onCommand(WPARAM wParam) {
    const UINT id = LOWORD(wParam);
    const MenuChoice choice = menuChoice(id);
    if (choice.command)
        runShellCommand(*choice.command);
    else if (choice.recentFile)
        openRecentFile(*choice.recentFile);
    else if (const std::optional<CommandId> button = tableCommand(static_cast<MainCommand>(id)))
        runShellCommand(*button);
}

void onMenuPopup(HMENU popup) {
    showMenuPopup(popup, shellCommandContext(), recentFiles());
    reportMenuItems(popup);
}

void onMenuSelect(WPARAM wParam, LPARAM lParam) {
    setStatusText(StatusPart::Message,
                  menuItemDescription(reinterpret_cast<HMENU>(lParam), LOWORD(wParam),
                                      HIWORD(wParam), recentFiles()));
}

// A drag keeps the mouse until its button is released, even outside the window, so the
// release that commits it always arrives.
void followDragCapture(HWND window, UINT message, WPARAM wParam) {
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
        SetCapture(window);
    } else if ((message == WM_LBUTTONUP || message == WM_RBUTTONUP) &&
               !(wParam & (MK_LBUTTON | MK_RBUTTON)) && GetCapture() == window) {
        ReleaseCapture();
    }
}

} // namespace

void MainWindow::create(HINSTANCE instance, const RECT& place, const char* title, HMENU menu) {
    if (CreateWindowExA(0, "main-view", title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                        place.left, place.top, place.right, place.bottom, nullptr, menu, instance,
                        this))
        return;
    char line[96];
    std::snprintf(line, sizeof line, "Error: creating the main window failed with error %lu\n",
                  GetLastError());
    OutputDebugStringA(line);
    fatalError("error", "CreateWindowEx of the main window");
}

// WM_CREATE: palette and bars, then view 0's window and the renderer.
void MainWindow::onCreate(HWND window) {
    p_.handles.window = window;
    reportMenuBar(window);
    acceptDroppedFiles(window);
    createPalette(window, p_.handles, p_.palette);
    p_.shapeHandles.window = p_.shape.create();

    RECT client;
    if (!GetClientRect(window, &client)) fatalError("yo!", "GetClientRect of the main window");
    ViewArea area = p_.layout.viewArea(client.right, client.bottom);
    int x = 0, y = area.top, w = area.width, h = area.height;
    const bool quad = p_.layout.quad();
    if (quad) {
        w /= 2;
        h /= 2;
        x = w;
        y = area.top + h;
    }
    p_.handles.view = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, x, y, w, h, window,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    // A view area collapsed to nothing still gets a one-pixel swap chain.
    p_.renderer = Renderer::create(vm::kFieldOfView, w > 0 ? w : 1, h > 0 ? h : 1, p_.handles.view);
    if (quad) p_.layout.createSecondaryViews(w, h, window);
}

// The main toolbar's tooltips, which follow the history ("Undo Delete (Ctrl+Z)").
bool MainWindow::onToolbarTip(NMHDR* header) {
    if (!p_.handles.toolbar ||
        (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW))
        return false;
    // The control reads the text after the notification returns.
    std::string& text = toolbarTip_;
    std::wstring& wide = toolbarTipWide_;
    text = toolbarTip(static_cast<int>(header->idFrom), p_.document);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        info->lpszText = text.data();
        info->hinst = nullptr;
    } else {
        wide = wideFromUtf8(text);
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        info->lpszText = wide.data();
        info->hinst = nullptr;
    }
    return true;
}

void MainWindow::onCursor(LPARAM lParam) {
    if (LOWORD(lParam) == HTNOWHERE) return;
    const EditorState& editor = p_.editor;
    const bool cross = editor.tool == Tool::Add || editor.tool == Tool::Locator || editor.hotPoint;
    SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(cross ? IDC_CROSS : IDC_ARROW)));
}

void MainWindow::onDestroy() {
    // The device goes while its windows are still there (children die after this).
    p_.scene.releaseDevice();
    if (!p_.document.modified()) discardRecoveryCopy(); // a clean exit leaves no copy
    PostQuitMessage(0);
}

// The camera's and the flight's held keys stay outside the table; every other key runs the
// command it means.
void MainWindow::onKeyDown(WPARAM key) {
    keys_.set(static_cast<unsigned>(key), true);
    if (p_.editor.mode == Mode::Flight) p_.flight.keyDown(static_cast<unsigned>(key));
    runKeyCommand(key, KeyEdge::Press, p_.editor.mode);
}

void MainWindow::onKeyUp(HWND window, WPARAM key) {
    keys_.set(static_cast<unsigned>(key), false);
    p_.flight.keyUp(static_cast<unsigned>(key));
    if (key == VK_APPS)
        openContextMenuFromKeyboard(window, p_.mouse);
    else
        runKeyCommand(key, KeyEdge::Release, p_.editor.mode);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = windowObject<MainWindow>(window, message, lParam);
    return self ? self->handle(window, message, wParam, lParam)
                : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT MainWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        return 0;
    case WM_DROPFILES:
        openDroppedFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        // Closing asks about unsaved changes like New and Open do (a drag under way is
        // committed first, as they do).
        if (p_.files.mayClose()) DestroyWindow(window);
        return 0;
    case WM_NOTIFY:
        if (onToolbarTip(reinterpret_cast<NMHDR*>(lParam))) return 0;
        break;
    case WM_QUERYENDSESSION:
        // Windows is ending the session and may not wait for questions: the changes are
        // kept in the recovery copy, offered at the next start.
        writeRecoveryCopyNow();
        return TRUE;
    case WM_KILLFOCUS:
    case WM_ACTIVATEAPP:
        // A key released while another window had the keyboard never reaches this one.
        if (message == WM_KILLFOCUS || !wParam) {
            keys_.clear();
            p_.flight.releaseKeys();
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SETCURSOR:
        onCursor(lParam);
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && cancelGestures(p_.session, window)) {
            updateTakeBackButton(p_.handles.toolbar,
                                 p_.editor); // the add tool's clicks may be gone
            return 0;
        }
        onKeyDown(wParam);
        return 0;
    case WM_KEYUP:
        onKeyUp(window, wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F10 && keyDown(VK_SHIFT)) {
            openContextMenuFromKeyboard(window, p_.mouse);
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        onMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        onMenuSelect(wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
        p_.camera.zoom(static_cast<short>(HIWORD(wParam)), sessionSettings());
        return 0;
    default:
        break;
    }
    if (p_.layout.handleMessage(window, message, wParam, lParam)) return 0;
    if (message == WM_COMMAND) {
        onCommand(wParam);
        return 0;
    }
    followDragCapture(window, message, wParam);
    if (p_.mouse.handle(window, message, wParam, lParam)) {
        followRightClick(window, message, wParam, lParam, p_.mouse);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
