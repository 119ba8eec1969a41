// The palette window: its toolbar of 19 buttons and the display check box, the commands
// they send, and the rules that check, enable and re-image them.
#include <windows.h>

#include <commctrl.h>

#include "core/session-keys.h"
#include "core/win32/fatal-error.h"
#include "editor/edit-session.h"
#include "editor/selection.h"
#include "flight/vaisseau.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette-display-box.h"
#include "ui/win32/palette-handles.h"
#include "ui/win32/palette-pictures.h"
#include "ui/win32/palette-tooltips.h"
#include "ui/win32/palette.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/status-bar.h"
#include "ui/win32/view-commands.h"
#include "ui/win32/window-dpi.h"
#include "ui/win32/window-layout.h"
#include "ui/win32/window-object.h"
#include "ui/win32/window-places.h"
#include "view/orbit-camera.h"

Palette::Palette(const Parts& parts)
    : p_(parts), h_(parts.handles), editor_(parts.session.state()) {}

Model& Palette::model() {
    return p_.session.document().model();
}

HWND Palette::create() {
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_WINDOWEDGE;
    HWND palette = CreateWindowExA(exStyle, "palette", "Palette", WS_OVERLAPPEDWINDOW,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), this);
    h_.window = palette;
    fitToButtons(palette);
    ShowWindow(palette, SW_SHOW);
    return palette;
}

void Palette::setButtonState(int id, BYTE state) {
    SendMessageA(h_.toolbar, TB_SETSTATE, static_cast<WPARAM>(id), MAKELPARAM(state, 0));
}
void Palette::setButtonImage(int id, int image) {
    SendMessageA(h_.toolbar, TB_CHANGEBITMAP, static_cast<WPARAM>(id), MAKELPARAM(image, 0));
}
bool Palette::isChecked(int id) {
    return SendMessageA(h_.toolbar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(id), 0) != 0;
}

void Palette::createToolbar(HWND palette) {
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE, 0,
                                   0, 0, 0, palette, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!toolbar) fatalError("error", "palette toolbar", HRESULT_FROM_WIN32(GetLastError()));
    h_.toolbar = toolbar;

    SendMessageA(toolbar, TB_SETMAXTEXTROWS, 0, 0); // texts show as tooltips only
    showPalettePictures(toolbar, windowDpi(palette), h_);

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
    if (editor_.grid) buttons[palette::ToggleGrid].fsState |= TBSTATE_CHECKED;
    if (editor_.loc) buttons[palette::ToggleGrid].iBitmap = h_.alternateImages[0];
    const int toolButton = palette::toolButton(editor_.tool);
    if (toolButton >= 0) buttons[toolButton].fsState |= TBSTATE_CHECKED;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, palette::ButtonCount, reinterpret_cast<LPARAM>(buttons));

    createDisplayCheckBox(toolbar, h_); // placed with the buttons, by fitPaletteToButtons
}

void Palette::toggleGrid() {
    if (!p_.layout.quad()) {
        editor_.grid = !editor_.grid;
    } else if (editor_.loc) {
        editor_.grid = editor_.loc = false;
        setButtonImage(palette::ToggleGrid, palette::ToggleGrid);
    } else if (editor_.grid) {
        editor_.loc = true;
        PostMessageA(h_.toolbar, TB_SETSTATE, palette::ToggleGrid,
                     MAKELPARAM(TBSTATE_ENABLED | TBSTATE_WRAP | TBSTATE_CHECKED, 0));
        setButtonImage(palette::ToggleGrid, h_.alternateImages[0]);
    } else {
        editor_.grid = true;
    }
    sessionSettings().writeInt(session::kSession, "grid", editor_.grid ? 1 : 0);
    sessionSettings().writeInt(session::kSession, "loc", editor_.loc ? 1 : 0);
}

void Palette::play() {
    if (editor_.mode == Mode::Flight) {
        editor_.mode = Mode::Editing;
        setButtonImage(palette::Play, palette::Play);
        return;
    }
    editor_.mode = Mode::Flight;
    setButtonImage(palette::Play, h_.alternateImages[1]);
    setButtonState(palette::Stop, TBSTATE_ENABLED | TBSTATE_WRAP);
    // Flight shows one view; the view mode follows so that the layout and the mode agree.
    if (p_.layout.quad()) {
        editor_.currentView = ViewMode::Front;
        p_.camera.theta = p_.camera.gamma = 0;
        p_.camera.orthographic = true;
        sessionSettings().writeInt(session::kSession, "CurrentView",
                                   static_cast<int>(editor_.currentView));
        p_.layout.switchTo(Layout::Single);
    }
}

// "stop" ends a flight; pressed again (or Home) it brings the ship back to the start. It
// stays usable while the ship is away from there.
void Palette::stop() {
    if (editor_.mode == Mode::Editing) p_.views.returnHome();
    editor_.mode = Mode::Editing;
    updateStopButton();
    setButtonImage(palette::Play, palette::Play);
}

// The main window runs the button's command as its menu item would, so the palette and the
// menus cannot differ in what a command does or says.
void Palette::runTableCommandOfButton(int button) {
    const std::optional<CommandId> id = palette::buttonCommand(button);
    if (id && p_.main.window)
        SendMessageA(p_.main.window, WM_COMMAND, MAKEWPARAM(menuId(*id), 0), 0);
}

void Palette::onCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != 0 || clickDisplayLabel(h_, lParam)) return;
    if (lParam && reinterpret_cast<HWND>(lParam) == h_.displayCheckBox) {
        const bool shown = SendMessageA(h_.displayCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
        setSelectionVisible(model(), shown, editor_.useCount);
        showStatusMessage(shown ? "Selected patches shown" : "Selected patches hidden");
        return;
    }
    // A button clicked runs its command as the menu does, and the status bar says so; a
    // command that presses the button comes back here (with no control) to do the button's
    // part, so the click's own toggle is taken back first (the tools set theirs).
    const int button = LOWORD(wParam);
    if (lParam && reinterpret_cast<HWND>(lParam) == h_.toolbar && button < palette::ButtonCount &&
        palette::buttonCommand(button)) {
        if (palette::commandPressesButton(button) && palette::kButtons[button].check &&
            !palette::isToolButton(button))
            SendMessageA(h_.toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(button),
                         MAKELPARAM(isChecked(button) ? FALSE : TRUE, 0));
        runTableCommandOfButton(button);
        return;
    }
    switch (LOWORD(wParam)) {
    case palette::SwitchView:
        p_.views.switchView();
        break;
    case palette::ToggleWireframe:
        sessionSettings().writeInt(session::kSession, "wireframe",
                                   isChecked(palette::ToggleWireframe) ? 1 : 0);
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
        p_.views.centerOnSelection();
        break;
    case palette::Select:
        setTool(Tool::Select);
        break;
    case palette::Center:
        p_.views.centerView();
        break;
    case palette::Joint:
        // Pressed or released, a half-done joint starts again.
        editor_.jointUsed = true;
        editor_.firstJointPoint = -1;
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
    default:
        break; // dissociate and joint are read by the next clicks
    }
}

void Palette::fitToButtons(HWND palette) {
    // Two columns of buttons.
    const int height = outerHeight();
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(palette, GWL_EXSTYLE));
    RECT wanted = {0, 0, 2 * paletteButtonSize(h_.toolbar).cx, height};
    adjustWindowRectForDpi(wanted, WS_OVERLAPPEDWINDOW, exStyle, windowDpi(palette));
    SetWindowPos(palette, nullptr, 0, 0, wanted.right - wanted.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(h_.toolbar, TB_AUTOSIZE, 0, 0);
    // The toolbar sizes itself to one row of buttons; it holds them all, so it fills the palette.
    RECT client;
    GetClientRect(palette, &client);
    MoveWindow(h_.toolbar, 0, 0, client.right, client.bottom, TRUE);
    placeDisplayCheckBox(h_, windowDpi(palette));
}

int Palette::outerHeight() {
    // Two columns of buttons, and one row's height more for the caption and frame.
    const int rows = (palette::ButtonCount + 1) / 2;
    return (rows + 1) * paletteButtonSize(h_.toolbar).cy;
}

bool Palette::wireframeChecked() {
    return buttonChecked(palette::ToggleWireframe);
}

bool Palette::buttonChecked(int button) {
    return h_.toolbar && isChecked(button);
}

void Palette::pressButton(int button) {
    if (!h_.toolbar) return;
    // A click flips a toggle before its command reads it; the tools check their own.
    const bool tool = palette::isToolButton(button);
    if (palette::kButtons[button].check && !tool)
        SendMessageA(h_.toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(button),
                     MAKELPARAM(isChecked(button) ? FALSE : TRUE, 0));
    onCommand(static_cast<WPARAM>(button), 0);
    if (tool)
        SendMessageA(h_.toolbar, TB_CHECKBUTTON, static_cast<WPARAM>(button),
                     MAKELPARAM(palette::toolButton(editor_.tool) == button, 0));
}

void Palette::refreshSelection() {
    updateSelectionButtons();
    sessionSettings().writeString(
        session::kTool, "SelectedPatches",
        selectedPatchesText(model(), session::kSelectedPatchesBuffer - 1));
}

void Palette::updateSelectionButtons() {
    const Model& model = this->model();
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
    if (p_.shape.alphaSlider) EnableWindow(p_.shape.alphaSlider, n > 0);
    if (h_.toolbar) {
        setButtonState(palette::Group, n >= 2 ? TBSTATE_ENABLED : 0);
        bool grouped = false;
        for (const Model::Patch& p : model.patches)
            grouped = grouped || (p.selected && p.group >= 0);
        setButtonState(palette::Ungroup, grouped ? TBSTATE_ENABLED | TBSTATE_WRAP : TBSTATE_WRAP);
    }
    if (h_.displayCheckBox)
        SendMessageA(h_.displayCheckBox, BM_SETCHECK,
                     n == 0  ? BST_INDETERMINATE
                     : shown ? BST_CHECKED
                             : BST_UNCHECKED,
                     0);
}

void Palette::initialButtonUpdate() {
    const Model& model = this->model();
    int patches = 0;
    for (const Model::Patch& p : model.patches)
        patches += p.selected;
    bool group = false;
    for (const auto& g : model.groups)
        group = group || g->selected;
    if (patches >= 2) setButtonState(palette::Group, TBSTATE_ENABLED | TBSTATE_WRAP);
    if (group) setButtonState(palette::Ungroup, TBSTATE_ENABLED);
    if ((group || patches >= 2) && p_.shape.alphaSlider) EnableWindow(p_.shape.alphaSlider, TRUE);
}

void Palette::initialDisplayCheck() {
    const Model& model = this->model();
    LPARAM state = BST_INDETERMINATE;
    for (const Model::Patch& p : model.patches)
        if (p.selected) state = model.isShown(p) ? BST_CHECKED : BST_UNCHECKED;
    if (h_.displayCheckBox) SendMessageA(h_.displayCheckBox, BM_SETCHECK, state, 0);
}

LRESULT CALLBACK Palette::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Palette* self = windowObject<Palette>(window, message, lParam);
    return self ? self->handle(window, message, wParam, lParam)
                : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT Palette::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        createToolbar(window);
        return 0;
    }
    case WM_GETMINMAXINFO:
        // A place remembered from a smaller palette (fewer buttons) still shows them all.
        if (h_.toolbar) reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = outerHeight();
        return 0;
    case WM_NOTIFY:
        if (answerPaletteTip(reinterpret_cast<NMHDR*>(lParam), p_.session.document())) return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_DPICHANGED:
        // Pictures and cells for the new DPI; the window keeps the place Windows suggests and
        // takes the size its buttons need.
        showPalettePictures(h_.toolbar, windowDpi(window), h_);
        moveToSuggestedRect(window, lParam);
        fitToButtons(window);
        return 0;
    case WM_MOUSEACTIVATE:
        // A tool palette leaves the keyboard where it was: a click on a tool must not keep
        // the camera keys, W/A/S/D or the shortcuts away from the view.
        return MA_NOACTIVATE;
    case WM_COMMAND:
        onCommand(wParam, lParam);
        // Whatever took the keyboard on the way (a button, the window itself), the main
        // window gets it back.
        if (GetActiveWindow() == window && p_.main.window) {
            SetActiveWindow(p_.main.window);
            SetFocus(p_.main.window);
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

void Palette::updateJointButton() {
    if (!h_.toolbar) return;
    int image = palette::Joint;
    if (!isChecked(palette::Joint))
        image = editor_.jointUsed ? h_.alternateImages[2] : palette::Joint;
    else if (editor_.firstJointPoint != -1)
        image = h_.alternateImages[3];
    setButtonImage(palette::Joint, image);
}

void Palette::updateStopButton() {
    const bool usable = editor_.mode == Mode::Flight || !p_.ship.atHome();
    setButtonState(palette::Stop, usable ? TBSTATE_ENABLED | TBSTATE_WRAP : TBSTATE_WRAP);
}
