// The one table of the editor's commands: what each is called, where its menu shows it, its
// keys, whether it can run now and is checked, what it says it does, and what runs it. The
// keyboard, the menus, the tooltips and the shortcut sheet all read it.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "core/editor-modes.h"
#include "editor/command-host.h"
#include "editor/command-ids.h"
#include "editor/command-keys.h"

inline constexpr size_t kMaxKeysPerCommand = 2;

struct Command {
    CommandId id;
    // As a menu shows it ("Save As…", in UTF-8: the windows show it through the wide calls);
    // Undo and Redo add their step's name.
    const char* name;
    Menu menu;
    Submenu submenu = Submenu::None;
    bool separatorBefore = false; // a menu separator above the item
    std::array<KeyBinding, kMaxKeysPerCommand> keys{};
    const char* description = "";
    // Whether it can run now (nullptr: it always can); a command that cannot run still
    // says why when its key is pressed.
    bool (*canRun)(const CommandContext&, CommandId) = nullptr;
    // Its check mark (nullptr: not a switch).
    bool (*checked)(const CommandContext&, CommandId) = nullptr;
    // The portable work (nullptr: the host runs it).
    CommandOutcome (*run)(CommandContext&) = nullptr;
};

// Every command, in menu order (File to Help, each menu's items top to bottom), one per
// CommandId at the id's position.
std::span<const Command> commandTable();
const Command& command(CommandId id);

bool canRun(const Command& command, const CommandContext& context);
// Whether the command is a switch and on; nullopt for a plain command.
std::optional<bool> checkedState(const Command& command, const CommandContext& context);
// Runs the command: its own work, or the host's. A command that cannot run says why and
// changes nothing.
CommandOutcome runCommand(CommandId id, CommandContext& context);

// The name shown for it now: "Undo Extrude", "Redo Delete", else its name.
std::string shownName(const Command& command, const Document& document);
// What a tooltip says: "Save (Ctrl+S)", "Undo Extrude (Ctrl+Z)".
std::string tooltipText(const Command& command, const Document& document);
// All the command's keys as text: "Ctrl+Y, Ctrl+Shift+Z".
std::string keysText(const Command& command);

// The command a key stroke means in that mode, if any.
const Command* commandForKey(Key key, Modifiers held, KeyEdge edge, Mode mode);
