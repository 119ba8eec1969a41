#include "editor/key-presses.h"

void KeyPresses::pressed(Key key, Modifiers held, bool ranCommand, bool repeat) {
    Press& press = presses_[static_cast<size_t>(key) % kKeyCodes];
    // A fresh press starts over: the release of the last one may have gone to another window.
    if (!repeat || !press.down) press = {true, held, false};
    press.ranCommand = press.ranCommand || ranCommand;
}

std::optional<Modifiers> KeyPresses::released(Key key, Modifiers heldNow) {
    Press& press = presses_[static_cast<size_t>(key) % kKeyCodes];
    const Press was = press;
    press = {};
    if (!was.down) return heldNow;
    if (was.ranCommand) return std::nullopt;
    return was.held;
}
