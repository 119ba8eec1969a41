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

std::string keyName(Key key) {
    const auto code = static_cast<uint16_t>(key);
    if (code >= 'A' && code <= 'Z') return std::string(1, static_cast<char>(code));
    constexpr uint16_t kFunctionKeys = 12, kF1 = static_cast<uint16_t>(Key::F1);
    if (code >= kF1 && code < kF1 + kFunctionKeys) return "F" + std::to_string(code - kF1 + 1);
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
