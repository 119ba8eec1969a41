// The main window's toolbar buttons: their command ids are their positions, and each runs a
// command of the table.
#pragma once

#include <optional>

#include "editor/command-ids.h"

enum class MainCommand : int {
    UndoBack = 0, // the back arrow: undo
    Redo = 1,     // the forward arrow
    TakeBack = 2, // the add tool's last pending point
    Undo = 3,
    New = 4,
    Open = 5,
    Save = 6,
    Delete = 7,
};

inline std::optional<CommandId> tableCommand(MainCommand button) {
    switch (button) {
    case MainCommand::UndoBack:
    case MainCommand::Undo:
        return CommandId::Undo;
    case MainCommand::Redo:
        return CommandId::Redo;
    case MainCommand::TakeBack:
        return CommandId::TakeBackPoint;
    case MainCommand::New:
        return CommandId::New;
    case MainCommand::Open:
        return CommandId::Open;
    case MainCommand::Save:
        return CommandId::Save;
    case MainCommand::Delete:
        return CommandId::Delete;
    }
    return std::nullopt;
}
