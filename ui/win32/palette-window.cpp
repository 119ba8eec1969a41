// The palette window: its toolbar of 19 buttons and the display check box, the commands
// they send, and the rules that check, enable and re-image them.
#include <windows.h>

#include <commctrl.h>

#include "core/session-keys.h"
#include "core/win32/fatal-error.h"
#include "editor/selection.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette-display-box.h"
#include "ui/win32/palette-pictures.h"
#include "ui/win32/palette-tooltips.h"
#include "ui/win32/palette.h"
#include "ui/win32/records.h"
#include "ui/win32/tool-modes.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-dpi.h"
#include "ui/win32/window-layout.h"
#include "ui/win32/window-places.h"

namespace {

HWND paletteToolbar() {
    return application.palette.toolbar;
}

void setButtonState(int id, BYTE state) {
    SendMessageA(paletteToolbar(), TB_SETSTATE, static_cast<WPARAM>(id), MAKELPARAM(state, 0));
}
void setButtonImage(int id, int image) {
    SendMessageA(paletteToolbar(), TB_CHANGEBITMAP, static_cast<WPARAM>(id), MAKELPARAM(image, 0));
}
bool buttonChecked(int id) {
    return SendMessageA(paletteToolbar(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
}

void createPaletteToolbar(HWND palette) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE, 0,
                                   0, 0, 0, palette, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!toolbar) fatalError("error", "palette toolbar", HRESULT_FROM_WIN32(GetLastError()));
    application.palette.toolbar = toolbar;

    SendMessageA(toolbar, TB_SETMAXTEXTROWS, 0, 0); // texts show as tooltips only
    showPalettePictures(toolbar, windowDpi(palette));

    const bool wireframe = sessionSettings().readInt(session::kSession, "wireframe", 0) != 0;
    TBBUTTON buttons[palette::ButtonCount] = {};
    for (int i = 0; i < palette::ButtonCount; ++i) {
        const palette::Button& b = palette::kButtons[i];
        TBBUTTON& t = buttons[i];
        t.iBitmap = i;
        t.idCommand = i;
        t.fsStyle = b.check ? BTNS_CHECK : BTNS_BUTTON;
        t.fsState = TBSTATE_ENABLED | TBSTATE_WRAP | (b.greyed ? TBSTATE_INDETERMINATE : 0);
        t.iString = reinterpret_cast<INT_PTR>(b.text);
    }
    if (wireframe) buttons[palette::ToggleWireframe].fsState |= TBSTATE_CHECKED;
    if (editorState.grid) buttons[palette::ToggleGrid].fsState |= TBSTATE_CHECKED;
    if (editorState.loc)
        buttons[palette::ToggleGrid].iBitmap = application.palette.alternateImages[0];
    const int toolButton = palette::toolButton(editorState.tool);
    if (toolButton >= 0) buttons[toolButton].fsState |= TBSTATE_CHECKED;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, palette::ButtonCount, reinterpret_cast<LPARAM>(buttons));

    createDisplayCheckBox(toolbar); // placed with the buttons, by fitPaletteToButtons
}

void toggleGrid() {
    if (!isQuadLayout()) {
        editorState.grid = !editorState.grid;
    } else if (editorState.loc) {
        editorState.grid = editorState.loc = false;
        setButtonImage(palette::ToggleGrid, palette::ToggleGrid);
    } else if (editorState.grid) {
        editorState.loc = true;
        PostMessageA(paletteToolbar(), TB_SETSTATE, palette::ToggleGrid,
                     MAKELPARAM(TBSTATE_ENABLED | TBSTATE_WRAP | TBSTATE_CHECKED, 0));
        setButtonImage(palette::ToggleGrid, application.palette.alternateImages[0]);
    } else {
        editorState.grid = true;
    }
    sessionSettings().writeInt(session::kSession, "grid", editorState.grid ? 1 : 0);
    sessionSettings().writeInt(session::kSession, "loc", editorState.loc ? 1 : 0);
}

void play() {
    if (editorState.mode == Mode::Flight) {
        editorState.mode = Mode::Editing;
        setButtonImage(palette::Play, palette::Play);
        return;
    }
    editorState.mode = Mode::Flight;
    setButtonImage(palette::Play, application.palette.alternateImages[1]);
    setButtonState(palette::Stop, TBSTATE_ENABLED | TBSTATE_WRAP);
    // Flight shows one view; the view mode follows so that the layout and the mode agree.
    if (isQuadLayout()) {
        editorState.currentView = ViewMode::Front;
        orbitCamera.theta = orbitCamera.gamma = 0;
        orbitCamera.orthographic = true;
        sessionSettings().writeInt(session::kSession, "CurrentView",
                                   static_cast<int>(editorState.currentView));
        switchLayout(Layout::Single);
    }
}

// "stop" ends a flight; pressed again (or Home) it brings the ship back to the start. It
// stays usable while the ship is away from there.
void stop() {
    if (editorState.mode == Mode::Editing) returnHome();
    editorState.mode = Mode::Editing;
    updateStopButton();
    setButtonImage(palette::Play, palette::Play);
}

// The main window runs the button's command as its menu item would, so the palette and the
// menus cannot differ in what a command does or says.
void runTableCommandOfButton(int button) {
    const std::optional<CommandId> id = palette::buttonCommand(button);
    if (id && application.mainWindow)
        SendMessageA(application.mainWindow, WM_COMMAND, MAKEWPARAM(menuId(*id), 0), 0);
}

void onCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != 0 || clickDisplayLabel(lParam)) return;
    if (lParam && reinterpret_cast<HWND>(lParam) == application.palette.displayCheckBox) {
        const bool shown =
            SendMessageA(application.palette.displayCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
        setSelectionVisible(editedModel(), shown, editorState.useCount);
        return;
    }
    switch (LOWORD(wParam)) {
    case palette::SwitchView:
        switchView();
        break;
    case palette::ToggleWireframe:
        sessionSettings().writeInt(session::kSession, "wireframe",
                                   buttonChecked(palette::ToggleWireframe) ? 1 : 0);
        break;
    case palette::Add:
        setTool(Tool::Add);
        break;
    case palette::ToggleGrid:
        toggleGrid();
        break;
    case palette::Play:
        play();
        break;
    case palette::Stop:
        stop();
        break;
    case palette::CenterSelect:
        centerOnSelection();
        break;
    case palette::Select:
        setTool(Tool::Select);
        break;
    case palette::Center:
        centerView();
        break;
    case palette::Joint:
        // Pressed or released, a half-done joint starts again.
        editorState.jointUsed = true;
        editorState.firstJointPoint = -1;
        updateJointButton();
        break;
    case palette::Rotate:
        startRotate();
        break;
    case palette::Translate:
        setTool(Tool::Translate);
        break;
    case palette::Locator:
        setTool(Tool::Locator);
        break;
    case palette::Scale:
        setTool(Tool::Scale);
        break;
    case palette::Group:
    case palette::Symetry:
    case palette::Ungroup:
        runTableCommandOfButton(LOWORD(wParam));
        break;
    default:
        break; // dissociate and joint are read by the next clicks
    }
}

} // namespace

void fitPaletteToButtons(HWND palette) {
    // Two columns of buttons.
    const int height = paletteOuterHeight();
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(palette, GWL_EXSTYLE));
    RECT wanted = {0, 0, 2 * paletteButtonSize(application.palette.toolbar).cx, height};
    adjustWindowRectForDpi(wanted, WS_OVERLAPPEDWINDOW, exStyle, windowDpi(palette));
    SetWindowPos(palette, nullptr, 0, 0, wanted.right - wanted.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(application.palette.toolbar, TB_AUTOSIZE, 0, 0);
    // The toolbar sizes itself to one row of buttons; it holds them all, so it fills the palette.
    RECT client;
    GetClientRect(palette, &client);
    MoveWindow(application.palette.toolbar, 0, 0, client.right, client.bottom, TRUE);
    placeDisplayCheckBox(application.palette.toolbar, windowDpi(palette));
}

int paletteOuterHeight() {
    // Two columns of buttons, and one row's height more for the caption and frame.
    const int rows = (palette::ButtonCount + 1) / 2;
    return (rows + 1) * paletteButtonSize(paletteToolbar()).cy;
}

bool paletteWireframeChecked() {
    return paletteButtonChecked(palette::ToggleWireframe);
}

bool paletteButtonChecked(int button) {
    return paletteToolbar() && buttonChecked(button);
}

void pressPaletteButton(int button) {
    if (!paletteToolbar()) return;
    // A click flips a toggle before its command reads it; the tools check their own.
    const bool tool = button == palette::Add || button == palette::Select ||
                      button == palette::Rotate || button == palette::Translate ||
                      button == palette::Locator || button == palette::Scale;
    if (palette::kButtons[button].check && !tool)
        SendMessageA(paletteToolbar(), TB_CHECKBUTTON, static_cast<WPARAM>(button),
                     MAKELPARAM(buttonChecked(button) ? FALSE : TRUE, 0));
    onCommand(static_cast<WPARAM>(button), 0);
    if (tool)
        SendMessageA(paletteToolbar(), TB_CHECKBUTTON, static_cast<WPARAM>(button),
                     MAKELPARAM(palette::toolButton(editorState.tool) == button, 0));
}

void refreshSelectionPanel() {
    updateSelectionButtons();
    sessionSettings().writeString(
        session::kTool, "SelectedPatches",
        selectedPatchesText(editedModel(), session::kSelectedPatchesBuffer - 1));
}

void updateSelectionButtons() {
    const Model& model = editedModel();
    int n = 0, shown = 0;
    for (const Model::Patch& p : model.patches)
        if (p.selected) {
            ++n;
            shown = model.isShown(p);
        }
    for (const auto& g : model.groups)
        if (g->selected) {
            ++n;
            shown = g->visible;
        }
    if (application.shape.alphaSlider) EnableWindow(application.shape.alphaSlider, n > 0);
    if (paletteToolbar()) {
        setButtonState(palette::Group, n >= 2 ? TBSTATE_ENABLED : 0);
        bool grouped = false;
        for (const Model::Patch& p : model.patches)
            grouped = grouped || (p.selected && p.group >= 0);
        setButtonState(palette::Ungroup, grouped ? TBSTATE_ENABLED | TBSTATE_WRAP : TBSTATE_WRAP);
    }
    if (application.palette.displayCheckBox)
        SendMessageA(application.palette.displayCheckBox, BM_SETCHECK,
                     n == 0  ? BST_INDETERMINATE
                     : shown ? BST_CHECKED
                             : BST_UNCHECKED,
                     0);
}

void initialButtonUpdate() {
    const Model& model = editedModel();
    int patches = 0;
    for (const Model::Patch& p : model.patches)
        patches += p.selected;
    bool group = false;
    for (const auto& g : model.groups)
        group = group || g->selected;
    if (patches >= 2) setButtonState(palette::Group, TBSTATE_ENABLED | TBSTATE_WRAP);
    if (group) setButtonState(palette::Ungroup, TBSTATE_ENABLED);
    if ((group || patches >= 2) && application.shape.alphaSlider)
        EnableWindow(application.shape.alphaSlider, TRUE);
}

void initialDisplayCheck() {
    const Model& model = editedModel();
    LPARAM state = BST_INDETERMINATE;
    for (const Model::Patch& p : model.patches)
        if (p.selected) state = model.isShown(p) ? BST_CHECKED : BST_UNCHECKED;
    if (application.palette.displayCheckBox)
        SendMessageA(application.palette.displayCheckBox, BM_SETCHECK, state, 0);
}

LRESULT CALLBACK paletteWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        createPaletteToolbar(window);
        return 0;
    }
    case WM_GETMINMAXINFO:
        // A place remembered from a smaller palette (fewer buttons) still shows them all.
        if (paletteToolbar())
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = paletteOuterHeight();
        return 0;
    case WM_NOTIFY:
        if (answerPaletteTip(reinterpret_cast<NMHDR*>(lParam))) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DPICHANGED:
        // Pictures and cells for the new DPI; the window keeps the place Windows suggests and
        // takes the size its buttons need.
        showPalettePictures(paletteToolbar(), windowDpi(window));
        moveToSuggestedRect(window, lParam);
        fitPaletteToButtons(window);
        return 0;
    case WM_MOUSEACTIVATE:
        // A tool palette leaves the keyboard where it was: a click on a tool must not keep
        // the camera keys, W/A/S/D or the shortcuts away from the view.
        return MA_NOACTIVATE;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        // Whatever took the keyboard on the way (a button, the window itself), the main
        // window gets it back.
        if (GetActiveWindow() == window && application.mainWindow) {
            SetActiveWindow(application.mainWindow);
            SetFocus(application.mainWindow);
        }
        return 0;
    default: {
        // Moves are remembered; closing hides the palette (F6 shows it again).
        LRESULT result = 0;
        if (handleToolWindowMessage(window, message, wParam, lParam, result)) return result;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    }
}

void updateJointButton() {
    if (!paletteToolbar()) return;
    int image = palette::Joint;
    if (!buttonChecked(palette::Joint))
        image = editorState.jointUsed ? application.palette.alternateImages[2] : palette::Joint;
    else if (editorState.firstJointPoint != -1)
        image = application.palette.alternateImages[3];
    setButtonImage(palette::Joint, image);
}

void updateStopButton() {
    const bool usable = editorState.mode == Mode::Flight || !application.ship.atHome();
    setButtonState(palette::Stop, usable ? TBSTATE_ENABLED | TBSTATE_WRAP : TBSTATE_WRAP);
}
