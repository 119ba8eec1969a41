#include "ui/win32/tool-window-keys.h"

#include <cstring>

#include "core/win32/key-state.h"

namespace {

constexpr char kCtrlA = 'A' - '@'; // the character Ctrl+A types

bool isTextBox(HWND window) {
    char name[16] = {};
    return window && GetClassNameA(window, name, sizeof name) > 0 && _stricmp(name, "Edit") == 0;
}

} // namespace

bool isTextBoxEditingKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !keyDown(VK_CONTROL)) return false;
    const WPARAM key = message.wParam;
    return (key == 'A' || key == 'C' || key == 'X' || key == 'V') && isTextBox(GetFocus());
}

bool handleShapeWindowKeys(HWND shape, MSG& message) {
    if (!shape || (message.hwnd != shape && !IsChild(shape, message.hwnd))) return false;
    return IsDialogMessageA(shape, &message) != FALSE;
}

bool selectAllOnCtrlA(HWND box, UINT message, WPARAM wParam) {
    if (message == WM_KEYDOWN && wParam == 'A' && keyDown(VK_CONTROL)) {
        SendMessageA(box, EM_SETSEL, 0, -1);
        return true;
    }
    return message == WM_CHAR && wParam == static_cast<WPARAM>(kCtrlA); // no beep
}
