// The main window procedure: keyboard state and toggles, the cursor, the view layout, and
// the mouse messages that belong to the tools.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "app/win32/application.h"
#include "core/session-keys.h"
#include "core/win32/fatal-error.h"
#include "core/win32/key-state.h"
#include "editor/pending-points.h"
#include "editor/selection.h"
#include "graphics/d3d11/renderer.h"
#include "ui/main-commands.h"
#include "ui/win32/commands.h"
#include "ui/win32/document-commands.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/recovery.h"
#include "ui/win32/reference-view.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/shortcut-sheet-window.h"
#include "ui/win32/surface-commands.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-layout.h"

namespace {

// WM_CREATE: palette and bars, then view 0's window and the renderer.
void onCreate(HWND window) {
    application.mainWindow = window;
    createPalette(window);
    application.shape.window = createShapeWindow();

    RECT client;
    if (!GetClientRect(window, &client)) fatalError("yo!", "GetClientRect of the main window");
    ViewArea area = viewArea(client.right, client.bottom);
    int x = 0, y = area.top, w = area.width, h = area.height;
    if (isQuadLayout()) {
        w /= 2;
        h /= 2;
        x = w;
        y = area.top + h;
    }
    application.mainViewWindow =
        CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, x, y, w, h, window, nullptr,
                        GetModuleHandleA(nullptr), nullptr);
    // A view area collapsed to nothing still gets a one-pixel swap chain.
    application.renderer = Renderer::create(vm::kFieldOfView, w > 0 ? w : 1, h > 0 ? h : 1,
                                            application.mainViewWindow);
    if (isQuadLayout()) createSecondaryViews(w, h, window);
}

void reportDisplayFlags() {
    char line[96];
    std::snprintf(line, sizeof line, "Tavrel display: planet=%d sphere=%d wire=%d\n",
                  displayFlags.planetVisible, displayFlags.sphereMeshVisible,
                  displayFlags.wireSphereVisible);
    OutputDebugStringA(line);
}

void showToolWindow(HWND window) {
    if (!window) return;
    ShowWindow(window, SW_SHOWNORMAL);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The main toolbar and the keyboard shortcuts.
// The shortcut sheet, one for the program (F1 again brings it forward).
ShortcutSheetWindow& shortcutSheet() {
    static ShortcutSheetWindow sheet;
    return sheet;
}

void onCommand(MainCommand command) {
    switch (command) {
    case MainCommand::TakeBack:
        if (editorState.tool == Tool::Add)
            removeLastPendingPoint(editorState.pendingPoints, shapeTree());
        updateTakeBackButton();
        break;
    case MainCommand::UndoBack:
    case MainCommand::Undo:
        undoCommand();
        break;
    case MainCommand::Redo:
        redoCommand();
        break;
    case MainCommand::New:
        documentFiles().newDocument();
        break;
    case MainCommand::Open:
        documentFiles().open();
        break;
    case MainCommand::Save:
        documentFiles().save();
        break;
    case MainCommand::SaveAs:
        documentFiles().saveAs();
        break;
    case MainCommand::Export:
        documentFiles().exportSurfaces();
        break;
    case MainCommand::Import:
        // The shape window is remade after the buffers, with the title and the buttons.
        if (documentFiles().import())
            application.shownTiming.phase("shape window");
        else
            application.shownTiming.cancel();
        break;
    case MainCommand::Delete:
        deleteCommand();
        break;
    case MainCommand::ShowPalette:
        showToolWindow(static_cast<HWND>(application.palette.window));
        break;
    case MainCommand::ShowShapeWindow:
        showToolWindow(static_cast<HWND>(application.shape.window));
        break;
    case MainCommand::ShowShortcuts:
        shortcutSheet().show(application.mainWindow);
        break;
    }
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

// The main toolbar's tooltips, which follow the history ("Undo Delete (Ctrl+Z)").
bool onToolbarTip(NMHDR* header) {
    if (!application.mainToolbar ||
        (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW))
        return false;
    // The control reads the text after the notification returns.
    std::string& text = application.toolbarTip;
    std::wstring& wide = application.toolbarTipWide;
    text = toolbarTip(static_cast<int>(header->idFrom));
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        info->lpszText = text.data();
        info->hinst = nullptr;
    } else {
        wide.assign(text.begin(), text.end());
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        info->lpszText = wide.data();
        info->hinst = nullptr;
    }
    return true;
}

bool onCursor(LPARAM lParam) {
    if (LOWORD(lParam) != HTNOWHERE) {
        const bool cross = editorState.tool == Tool::Add || editorState.tool == Tool::Locator ||
                           editorState.hotPoint;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(cross ? IDC_CROSS : IDC_ARROW)));
    }
    return true;
}

} // namespace

namespace {

void onDestroy() {
    // The device goes while its windows are still there (children die after this).
    application.shipCopy.release();
    application.shipCopy.setFactory(nullptr);
    application.planetTexture = {};
    releaseReferencePicture();
    application.joins = {};
    application.hud.release();
    if (application.renderer) application.renderer->releaseDevice();
    if (!document().modified()) discardRecoveryCopy(); // a clean exit leaves no copy
    PostQuitMessage(0);
}

// The surface commands: letters on release (E, B, M, T, G; Ctrl+B splits in four), and
// Ctrl+D, Ctrl+C, Ctrl+V as they are pressed.
void surfaceKeyUp(WPARAM letter) {
    const bool control = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT);
    if (letter == 'B')
        splitCommand(control ? SplitKind::Four : shift ? SplitKind::AtV : SplitKind::AtU);
    if (control) return;
    if (letter == 'E') extrudeCommand();
    if (letter == 'M') shift ? symmetryRealCommand() : mirrorCopyCommand();
    if (letter == 'T') smoothJoinsCommand();
    if (letter == 'G') switchJoinsDisplay();
}

void surfaceKeyDown(WPARAM letter) {
    if (!keyDown(VK_CONTROL)) return;
    if (letter == 'D') duplicateCommand(keyDown(VK_SHIFT));
    if (letter == 'C') copyCommand();
    if (letter == 'V') pasteCommand();
}

void onKeyDown(WPARAM key) {
    keyFlags.set(static_cast<unsigned>(key), true);
    if (editorState.mode == Mode::Flight) {
        application.flightKeys.set(static_cast<unsigned>(key), true);
        if (key == VK_BACK) application.keyboardFlight.cutThrottle();
    }
    if (key == VK_OEM_PERIOD && editorState.mode == Mode::Editing) frameModel();
    if (editorState.mode == Mode::Editing && handleReferenceKey(key)) return;
    if (editorState.mode == Mode::Editing) surfaceKeyDown(key & 0xFF);
    if (key == VK_HOME) {
        returnHome();
        updateStopButton();
    }
    if ((key & 0xFF) == 'A' && keyDown(VK_CONTROL) && editorState.choosingPoints) {
        const Model& model = editedModel();
        editorState.chosenPoints.choose(shownPoints(model), {}, model.points.size());
        reportSelection("select all");
    } else if ((key & 0xFF) == 'A' && keyDown(VK_CONTROL)) {
        // The selection's centre is the rotate tool's pivot; a drag under way keeps its own.
        const vm::Vec4 centre = selectAll(editedModel());
        if (editorState.tool == Tool::Rotate && !editorState.transformDrag)
            editorState.pivot = centre;
        updateSelectionButtons();
        reportSelection("select all");
    }
}

void onKeyUp(WPARAM key) {
    keyFlags.set(static_cast<unsigned>(key), false);
    application.flightKeys.set(static_cast<unsigned>(key), false);
    if (displayFlags.toggleForKey(static_cast<unsigned>(key))) reportDisplayFlags();
    if ((key & 0xFF) == 'L' && editorState.mode == Mode::Editing) {
        editorState.shaded = !editorState.shaded;
        sessionSettings().writeInt(session::kSession, "shaded", editorState.shaded ? 1 : 0);
    }
    if ((key & 0xFF) == 'P' && editorState.mode == Mode::Editing && !keyDown(VK_CONTROL))
        switchChoosingCommand();
    if ((key & 0xFF) == 'O' && editorState.mode == Mode::Editing && !keyDown(VK_CONTROL))
        switchProjection();
    if ((key & 0xFF) == 'V' && editorState.mode == Mode::Editing && !keyDown(VK_CONTROL))
        pivotAtPointCommand();
    if (editorState.mode == Mode::Editing) surfaceKeyUp(key & 0xFF);
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate(window);
        return 0;
    case WM_CLOSE:
        // Closing asks about unsaved changes like New and Open do (a drag under way is
        // committed first, as they do).
        if (documentFiles().mayDiscardChanges()) DestroyWindow(window);
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
            keyFlags.clear();
            application.flightKeys.clear();
        }
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SETCURSOR:
        onCursor(lParam);
        return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && cancelGestures()) return 0;
        onKeyDown(wParam);
        return 0;
    case WM_KEYUP:
        onKeyUp(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        orbitCamera.zoom(static_cast<short>(HIWORD(wParam)), sessionSettings());
        return 0;
    default:
        break;
    }
    if (handleLayoutMessage(window, message, wParam, lParam)) return 0;
    if (message == WM_COMMAND) {
        onCommand(static_cast<MainCommand>(LOWORD(wParam)));
        return 0;
    }
    followDragCapture(window, message, wParam);
    if (handleViewMouse(window, message, wParam, lParam)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}
