#include "editor/command-keys.h"

namespace {

bool inContext(KeyContext binding, KeyContext mode) {
    return binding == KeyContext::Always || mode == KeyContext::Always || binding == mode;
}

// A modifier the binding names is never ignored (M with Y held is not M with X held).
Modifiers ignoredBy(const KeyBinding& binding) {
    return static_cast<Modifiers>(binding.ignored & ~binding.modifiers);
}

} // namespace

bool KeyBinding::matches(Key pressed, Modifiers held, KeyEdge at, KeyContext mode) const {
    return bound() && pressed == key && at == edge && inContext(context, mode) &&
           (held & ~ignoredBy(*this)) == modifiers;
}

bool overlap(const KeyBinding& a, const KeyBinding& b) {
    // A modifier either ignores can be held as the other needs it; the rest must agree.
    const Modifiers judged = static_cast<Modifiers>(~ignoredBy(a) & ~ignoredBy(b));
    return a.bound() && a.key == b.key && inContext(a.context, b.context) &&
           ((a.modifiers ^ b.modifiers) & judged) == 0;
}

std::string keyName(Key key) {
    const auto code = static_cast<uint16_t>(key);
    if (code >= 'A' && code <= 'Z') return std::string(1, static_cast<char>(code));
    if (code >= static_cast<uint16_t>(Key::F1) && code < static_cast<uint16_t>(Key::F1) + 12)
        return "F" + std::to_string(code - static_cast<uint16_t>(Key::F1) + 1);
    switch (key) {
    case Key::Backspace:
        return "Backspace";
    case Key::PageUp:
        return "Page Up";
    case Key::PageDown:
        return "Page Down";
    case Key::Home:
        return "Home";
    case Key::Left:
        return "Left";
    case Key::Up:
        return "Up";
    case Key::Right:
        return "Right";
    case Key::Down:
        return "Down";
    case Key::Delete:
        return "Del";
    case Key::Period:
        return ".";
    default:
        return "key " + std::to_string(code);
    }
}

std::string bindingText(const KeyBinding& binding) {
    std::string text;
    if (binding.modifiers & kHoldX) text += "X+";
    if (binding.modifiers & kHoldY) text += "Y+";
    if (binding.modifiers & kHoldZ) text += "Z+";
    if (binding.modifiers & kCtrl) text += "Ctrl+";
    if (binding.modifiers & kShift) text += "Shift+";
    return text + keyName(binding.key);
}
