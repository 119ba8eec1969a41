// What the windows ask the table: whether a command can run, its check mark, its name and
// keys as shown, which command a key stroke means; and running one.
#include "editor/command-table.h"
#include "editor/document.h"

bool canRun(const Command& command, const CommandContext& context) {
    if (command.canRun) return command.canRun(context, command.id);
    return command.run || context.host.canRun(command.id);
}

std::optional<bool> checkedState(const Command& command, const CommandContext& context) {
    if (!command.checked) return std::nullopt;
    return command.checked(context, command.id);
}

CommandOutcome runCommand(CommandId id, CommandContext& context) {
    const Command& it = command(id);
    if (it.run) return it.run(context);
    // The portable commands say why they cannot run; the host's are asked first.
    if (!canRun(it, context)) return {false, std::string(it.name) + ": not available now"};
    return context.host.run(id);
}

std::string shownName(const Command& command, const Document& document) {
    const History& history = document.history();
    if (command.id == CommandId::Undo && history.canUndo()) return "Undo " + history.undoName();
    if (command.id == CommandId::Redo && history.canRedo()) return "Redo " + history.redoName();
    return command.name;
}

std::string keysText(const Command& command) {
    std::string text;
    for (const KeyBinding& key : command.keys)
        if (key.bound()) text += (text.empty() ? "" : ", ") + bindingText(key);
    return text;
}

std::string tooltipText(const Command& command, const Document& document) {
    const std::string keys = keysText(command);
    return shownName(command, document) + (keys.empty() ? "" : " (" + keys + ")");
}

const Command* commandForKey(Key key, Modifiers held, KeyEdge edge, Mode mode) {
    const KeyContext context = mode == Mode::Flight ? KeyContext::Flight : KeyContext::Editing;
    for (const Command& command : commandTable())
        for (const KeyBinding& binding : command.keys)
            if (binding.matches(key, held, edge, context)) return &command;
    return nullptr;
}
