#include "ui/win32/window-layout.h"

#include "core/quad-layout.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "core/session-keys.h"
#include "editor/editor-state.h"
#include "graphics/d3d11/renderer.h"
#include "ui/remembered-places-dpi.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/toolbar-pictures.h"
#include "ui/win32/window-dpi.h"

namespace {

int clientHeightOf(HWND window) {
    RECT r;
    if (!window || !GetClientRect(window, &r)) return 0;
    return r.bottom - r.top;
}

// The main window's place is pixels at its DPI: kept beside it, a start at another DPI
// converts it (ui/remembered-places-dpi.h).
void rememberPlaceDpi(HWND mainWindow) {
    sessionSettings().writeInt(session::kSession, places::kMainPlaceDpiKey, windowDpi(mainWindow));
}

} // namespace

bool WindowLayout::quad() const {
    return p_.editor.currentView == ViewMode::Quad;
}

int WindowLayout::toolbarHeight() const {
    return clientHeightOf(p_.windows.toolbar);
}
int WindowLayout::statusBarHeight() const {
    return clientHeightOf(p_.windows.statusBar);
}

ViewArea WindowLayout::viewArea(int clientWidth, int clientHeight) const {
    const int top = toolbarHeight();
    return {top, clientWidth, clientHeight - top - statusBarHeight()};
}

void WindowLayout::placeMainView(int x, int y, int w, int h, bool repaint) {
    if (!p_.windows.view) return;
    MoveWindow(p_.windows.view, x, y, w, h, repaint);
    if (p_.renderer) p_.renderer->resizeView(w, h, 0);
    char line[96];
    std::snprintf(line, sizeof line, "Tavrel view 0 at %d,%d size %dx%d\n", x, y, w, h);
    OutputDebugStringA(line);
}

void WindowLayout::createSecondaryViews(int width, int height, HWND parent) {
    if (!parent) parent = p_.windows.window;
    const int top = toolbarHeight();
    for (int k = 0; k < 3; ++k) {
        const ViewRect place = quadViewRect(k + 1, 2 * width, 2 * height);
        HWND view =
            CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, place.x, top + place.y, width,
                            height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        p_.windows.secondaryViews[k] = view;
        p_.renderer->createSecondaryView(view, width, height, k);
    }
}

void WindowLayout::destroySecondaryViews() {
    for (int k = 0; k < 3; ++k) {
        p_.renderer->releaseSecondaryView(k);
        if (p_.windows.secondaryViews[k]) DestroyWindow(p_.windows.secondaryViews[k]);
        p_.windows.secondaryViews[k] = nullptr;
    }
}

void WindowLayout::resizeMainWindowForViewArea(int width, int height) {
    RECT r = {0, 0, width, height + toolbarHeight() + statusBarHeight()};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, TRUE); // with its menu bar
    const int outerWidth = r.right - r.left, outerHeight = r.bottom - r.top;
    // The larger window stays on its monitor's work area where it fits: moved in, not cut.
    RECT now;
    GetWindowRect(p_.windows.window, &now);
    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    int x = now.left, y = now.top;
    if (GetMonitorInfoA(MonitorFromWindow(p_.windows.window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::max<int>(work.left, std::min<int>(x, work.right - outerWidth));
        y = std::max<int>(work.top, std::min<int>(y, work.bottom - outerHeight));
    }
    SetWindowPos(p_.windows.window, nullptr, x, y, outerWidth, outerHeight, SWP_NOZORDER);
    if (p_.windows.statusBar) SendMessageA(p_.windows.statusBar, WM_SIZE, 0, 0);
}

void WindowLayout::switchTo(Layout layout) {
    const int top = toolbarHeight();
    if (layout == Layout::Quad) {
        createSecondaryViews(640, 480, p_.windows.window);
        resizeMainWindowForViewArea(1280, 960);
        placeMainView(640, top + 480, 640, 480, false);
    } else {
        destroySecondaryViews();
        resizeMainWindowForViewArea(1200, 800);
        placeMainView(0, top, 1200, 800, false);
    }
}

bool WindowLayout::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOVE:
        // A minimised window is parked at (−32000, −32000); that is not where it lives.
        if (IsIconic(p_.windows.window)) return true;
        sessionSettings().writeInt(session::kSession, "x", static_cast<short>(LOWORD(lParam)));
        sessionSettings().writeInt(session::kSession, "y", static_cast<short>(HIWORD(lParam)));
        rememberPlaceDpi(p_.windows.window);
        return true;
    case WM_SIZE: {
        if (wParam != SIZE_RESTORED && wParam != SIZE_MAXIMIZED) return true;
        RECT client;
        GetClientRect(p_.windows.window, &client);
        ViewArea area = viewArea(client.right, client.bottom);
        ViewRect main{0, 0, area.width, area.height};
        if (quad()) {
            for (int k = 0; k < 3; ++k) {
                if (!p_.windows.secondaryViews[k]) continue;
                const ViewRect place = quadViewRect(k + 1, area.width, area.height);
                MoveWindow(p_.windows.secondaryViews[k], place.x, area.top + place.y, place.width,
                           place.height, TRUE);
                if (p_.renderer) p_.renderer->resizeView(place.width, place.height, k + 1);
            }
            main = quadViewRect(0, area.width, area.height);
        }
        placeMainView(main.x, area.top + main.y, main.width, main.height, false);
        if (p_.windows.statusBar) SendMessageA(p_.windows.statusBar, WM_SIZE, wParam, lParam);
        layOutStatusBar();
        if (p_.windows.toolbar) SendMessageA(p_.windows.toolbar, TB_AUTOSIZE, 0, 0);
        sessionSettings().writeInt(session::kSession, "w", LOWORD(lParam));
        sessionSettings().writeInt(session::kSession, "h", HIWORD(lParam));
        rememberPlaceDpi(p_.windows.window);
        return true;
    }
    case WM_DPICHANGED: {
        // The toolbar's pictures for the new DPI, then the window where Windows suggests and
        // the views laid out again under the toolbar's new height.
        if (p_.windows.toolbar) {
            showMainToolbarPictures(p_.windows.toolbar, windowDpi(window),
                                    p_.windows.toolbarImages);
            SendMessageA(p_.windows.toolbar, TB_AUTOSIZE, 0, 0);
        }
        moveToSuggestedRect(window, lParam);
        RECT client;
        GetClientRect(window, &client);
        SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        return true;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {300, 300};
        return true;
    }
    default:
        return false;
    }
}
