#include "ui/win32/key-commands.h"

#include <vector>

#include "core/win32/key-state.h"
#include "editor/command-table.h"
#include "editor/key-presses.h"
#include "ui/win32/menu-commands.h"
#include "ui/win32/shell-command-host.h"

namespace {

bool functionKey(Key key) {
    return key >= Key::F1 && static_cast<int>(key) <= VK_F24;
}

// Pressed with Ctrl, or a function key, and meaning the same in every mode: the shortcuts
// of the files, the history and the windows. Ctrl+A stays the main window's (it ignores
// Shift): in the shape window's boxes it selects their text.
bool worksFromAnyWindow(const KeyBinding& key) {
    return key.bound() && key.context == KeyContext::Always && key.edge == KeyEdge::Press &&
           !(key.ignored & kShift) && ((key.modifiers & kCtrl) || functionKey(key.key));
}

} // namespace

Modifiers heldModifiers() {
    Modifiers held = kNoModifier;
    if (keyDown(VK_CONTROL)) held |= kCtrl;
    if (keyDown(VK_SHIFT)) held |= kShift;
    // The first axis key held, as the drags read them.
    if (keyDown('X'))
        held |= kHoldX;
    else if (keyDown('Y'))
        held |= kHoldY;
    else if (keyDown('Z'))
        held |= kHoldZ;
    return held;
}

namespace {

// The command a key going down or up means now, and whether it is one of the accelerators'.
struct KeyStroke {
    const Command* command = nullptr;
    bool accelerated = false;
};

KeyStroke strokeOf(WPARAM code, KeyEdge edge, Modifiers held, Mode editorMode) {
    const auto key = static_cast<Key>(code & 0xFF);
    const KeyContext mode = editorMode == Mode::Flight ? KeyContext::Flight : KeyContext::Editing;
    KeyStroke stroke{commandForKey(key, held, edge, editorMode)};
    if (stroke.command)
        for (const KeyBinding& binding : stroke.command->keys)
            stroke.accelerated = stroke.accelerated || (binding.matches(key, held, edge, mode) &&
                                                        worksFromAnyWindow(binding));
    return stroke;
}

KeyPresses& keyPresses() {
    static KeyPresses presses;
    return presses;
}

} // namespace

void noteKeyPress(const MSG& msg, Mode mode) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
    const Modifiers held = heldModifiers();
    constexpr LPARAM kWasDown = LPARAM{1} << 30; // a repeat of a key held down
    keyPresses().pressed(static_cast<Key>(msg.wParam & 0xFF), held,
                         strokeOf(msg.wParam, KeyEdge::Press, held, mode).command != nullptr,
                         (msg.lParam & kWasDown) != 0);
}

bool runKeyCommand(WPARAM key, KeyEdge edge, Mode mode) {
    Modifiers held = heldModifiers();
    if (edge == KeyEdge::Release) {
        const std::optional<Modifiers> pressedWith =
            keyPresses().released(static_cast<Key>(key & 0xFF), held);
        if (!pressedWith) return false; // its press ran a command
        held = *pressedWith;
    }
    const KeyStroke stroke = strokeOf(key, edge, held, mode);
    // The accelerators run theirs; a key of theirs reaching the window was held back for a
    // drag (Ctrl+Z choosing the z axis) and is the drag's.
    if (!stroke.command || stroke.accelerated) return false;
    runShellCommand(stroke.command->id);
    return true;
}

HACCEL createCommandAccelerators() {
    std::vector<ACCEL> table;
    for (const Command& command : commandTable())
        for (const KeyBinding& key : command.keys) {
            if (!worksFromAnyWindow(key)) continue;
            BYTE virt = FVIRTKEY;
            if (key.modifiers & kCtrl) virt |= FCONTROL;
            if (key.modifiers & kShift) virt |= FSHIFT;
            table.push_back(
                {virt, static_cast<WORD>(key.key), static_cast<WORD>(acceleratorId(command.id))});
        }
    return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

bool runAcceleratorKeyDuringCapture(const MSG& msg, Mode mode) {
    if (!GetCapture() || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
    const KeyStroke stroke = strokeOf(msg.wParam, KeyEdge::Press, heldModifiers(), mode);
    if (!stroke.accelerated) return false;
    runShellCommand(stroke.command->id);
    return true;
}
