// Keys as the command table names them: a key, the modifiers held with it, and whether the
// command runs as the key goes down or as it comes up. The values are the virtual-key codes
// the windows receive, so the shell passes its messages' keys on unchanged.
#pragma once

#include <cstdint>
#include <string>

enum class Key : uint16_t {
    None = 0,
    Backspace = 0x08,
    PageUp = 0x21,
    PageDown = 0x22,
    Home = 0x24,
    Left = 0x25,
    Up = 0x26,
    Right = 0x27,
    Down = 0x28,
    Delete = 0x2E,
    F1 = 0x70,
    F6 = 0x75,
    F7 = 0x76,
    Period = 0xBE, // the full stop (and '>' with Shift) on every layout's main block
};

// A letter key ('A' to 'Z'): its code is the capital letter's.
constexpr Key letterKey(char capital) {
    return static_cast<Key>(capital);
}

// What is held with a key. X, Y and Z held choose an axis (the mirror copy's plane, a drag's
// axis); the shell reports at most one of them, the first of X, Y, Z held, as the drags read
// them.
enum Modifier : uint8_t {
    kNoModifier = 0,
    kCtrl = 1,
    kShift = 2,
    kHoldX = 4,
    kHoldY = 8,
    kHoldZ = 16,
};
using Modifiers = uint8_t;
inline constexpr Modifiers kAnyAxis = kHoldX | kHoldY | kHoldZ;
inline constexpr Modifiers kAnyModifier = kCtrl | kShift | kAnyAxis;

enum class KeyEdge : uint8_t { Press, Release };

// Where a key means the command: editing, flying, or both (the file and window keys).
enum class KeyContext : uint8_t { Always, Editing, Flight };

struct KeyBinding {
    Key key = Key::None;
    Modifiers modifiers = kNoModifier; // held, exactly, apart from the ignored ones
    KeyEdge edge = KeyEdge::Press;
    KeyContext context = KeyContext::Editing;
    // Modifiers that make no difference (Shift+E extrudes as E does). The axis keys are
    // ignored unless a binding names one.
    Modifiers ignored = kAnyAxis;

    bool bound() const { return key != Key::None; }
    // Whether this key, with these modifiers, going down or up in that mode, means it.
    bool matches(Key pressed, Modifiers held, KeyEdge at, KeyContext mode) const;
};

// The key's name as a menu or the shortcut sheet shows it: "E", "Page Up", "F6", ".".
std::string keyName(Key key);
// The binding as a menu shows it: "Ctrl+Shift+S", "Y+M" (Y held, then M).
std::string bindingText(const KeyBinding& binding);
