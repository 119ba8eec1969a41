#include "ui/win32/view-context-menu.h"

#include "editor/command-runs.h"
#include "editor/context-menu-anchor.h"
#include "editor/context-menu-items.h"
#include "editor/edit-session.h"
#include "editor/editor-state.h"
#include "editor/selection.h"
#include "ui/right-button-click.h"
#include "ui/win32/context-menu.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/shell-command-host.h"

namespace {

RightButtonClick& rightClick() {
    static RightButtonClick click(GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
    return click;
}

void openAt(HWND window, POINT screen, ContextSpot spot) {
    const std::optional<CommandId> chosen =
        showContextMenu(window, screen, spot, shellCommandContext());
    if (chosen) runShellCommand(*chosen);
}

// What is under the pointer; a patch not yet selected is selected as a left click selects it.
ContextSpot spotUnderPointer(ViewMouse& mouse) {
    const EditorState& editor = mouse.session().state();
    const bool overPoint = editor.hotPoint && editor.hoveredPoint >= 0;
    const std::optional<PatchSpot> patch = mouse.patchUnderPointer();
    const ContextSpot spot = contextSpot(patch.has_value(), overPoint, editor.choosingPoints);
    if (spot == ContextSpot::Patch) {
        if (!mouse.session().model().patches[patch->patch].selected)
            mouse.session().clickPatch(static_cast<int>(patch->patch), {});
    }
    return spot;
}

} // namespace

void followRightClick(HWND window, UINT message, WPARAM wParam, LPARAM lParam, ViewMouse& mouse) {
    if (!mouse.session().state().modelReady) return;
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    if (message == WM_RBUTTONDOWN) {
        rightClick().pressedAt(x, y);
    } else if (message == WM_MOUSEMOVE && (wParam & MK_RBUTTON)) {
        rightClick().movedTo(x, y);
    } else if (message == WM_RBUTTONUP && rightClick().releasedAsClick()) {
        POINT screen = {x, y};
        ClientToScreen(window, &screen);
        openAt(window, screen, spotUnderPointer(mouse));
    }
}

void openContextMenuFromKeyboard(HWND window, ViewMouse& mouse) {
    const EditorState& editor = mouse.session().state();
    if (!editor.modelReady) return;
    const CommandContext& context = shellCommandContext();
    const ContextSpot spot =
        contextSpot(hasShownSelection(context),
                    editor.choosingPoints && !editor.chosenPoints.empty(), editor.choosingPoints);
    RECT view = {};
    HWND viewWindow = mouse.windows().view ? mouse.windows().view : window;
    GetClientRect(viewWindow, &view);
    const float width = static_cast<float>(view.right), height = static_cast<float>(view.bottom);
    // Over what the commands act on; at the view's centre when that is out of sight (or in the
    // four-view layout, where the selection shows in each view).
    const std::optional<ScreenPoint> anchor =
        editor.currentView == ViewMode::Quad
            ? std::nullopt
            : contextMenuAnchor(mouse.session().model(), editor.chosenPoints,
                                mouse.worldViewProjectionOf(0, height > 0 ? width / height : 1));
    const ScreenPoint at = anchor.value_or(ScreenPoint{0, 0});
    POINT screen = {static_cast<LONG>((at.x + 1) * 0.5f * width),
                    static_cast<LONG>((1 - at.y) * 0.5f * height)};
    ClientToScreen(viewWindow, &screen);
    openAt(window, screen, spot);
}
