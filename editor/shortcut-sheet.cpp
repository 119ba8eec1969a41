#include "editor/shortcut-sheet.h"

#include <algorithm>

#include "core/utf8.h"
#include "editor/command-table.h"

namespace {

using K = KeyContext;
constexpr Key L(char capital) {
    return letterKey(capital);
}
constexpr const char* kCamera = "Camera (while editing)";
constexpr const char* kDrags = "Drags";
constexpr const char* kFlight = "In Flight";

const HeldKeys kHeldKeys[] = {
    {kCamera,
     "Forward / Back",
     {L('W'), L('S')},
     K::Editing,
     "moves the camera's target (Shift held: fast)"},
    {kCamera, "Left / Right", {L('A'), L('D')}, K::Editing, "moves the camera's target sideways"},
    {kCamera, "Up / Down", {L('R'), L('F')}, K::Editing, "moves the camera's target vertically"},
    {kDrags,
     "Axis",
     {L('X'), L('Y'), L('Z')},
     K::Editing,
     "held: a rotate, translate or scale drag about or along that axis; M copies across that "
     "plane"},
    {kFlight, "Pitch", {Key::Up, Key::Down}, K::Flight, "Up pushes the nose down"},
    {kFlight, "Roll", {Key::Left, Key::Right}, K::Flight, "rolls left / right"},
    {kFlight, "Yaw", {L('Q'), L('E')}, K::Flight, "turns left / right"},
    {kFlight,
     "Throttle",
     {Key::PageUp, Key::PageDown},
     K::Flight,
     "opens / closes the throttle (it stays where it is left)"},
    {kFlight, "Cut Throttle", {Key::Backspace}, K::Flight, "the throttle to zero"},
};

constexpr size_t kNameColumn = 36, kKeysColumn = 26;

// Padded to width characters (UTF-8: "…" is three bytes, one character), one space at least.
std::string padded(std::string text, size_t width) {
    size_t characters = 0;
    for (size_t at = 0; at < text.size(); ++characters)
        utf8::next(text, at);
    text.append(characters < width ? width - characters : 1, ' ');
    return text;
}

} // namespace

std::span<const HeldKeys> heldKeys() {
    return kHeldKeys;
}

std::string sheetKeysText(std::span<const KeyBinding> bindings) {
    std::string text;
    for (const KeyBinding& key : bindings)
        if (key.bound())
            text += (text.empty() ? "" : ", ") + bindingText(key) +
                    (key.edge == KeyEdge::Release ? " (on release)" : "");
    return text;
}

std::vector<SheetSection> shortcutSheet() {
    std::vector<SheetSection> sheet;
    for (int menu = 0; menu < kMenuCount; ++menu) {
        SheetSection section{menuTitle(static_cast<Menu>(menu)), {}};
        for (const Command& command : commandTable()) {
            if (command.menu != static_cast<Menu>(menu)) continue;
            std::string name = command.name;
            if (command.submenu != Submenu::None && command.id != CommandId::OpenRecent)
                name = std::string(submenuTitle(command.submenu)) + ": " + name;
            section.rows.push_back({name, sheetKeysText(command.keys), command.description});
        }
        sheet.push_back(std::move(section));
    }
    for (const HeldKeys& held : kHeldKeys) {
        if (sheet.back().title != held.section) sheet.push_back({held.section, {}});
        std::string keys;
        for (Key key : held.keys)
            if (key != Key::None) keys += (keys.empty() ? "" : " / ") + keyName(key);
        sheet.back().rows.push_back({held.name, keys, held.description});
    }
    return sheet;
}

std::string shortcutSheetText() {
    std::string text;
    for (const SheetSection& section : shortcutSheet()) {
        text += (text.empty() ? "" : "\n") + section.title + "\n";
        for (const SheetRow& row : section.rows)
            text += "  " + padded(row.name, kNameColumn) + padded(row.keys, kKeysColumn) +
                    row.description + "\n";
    }
    return text;
}
