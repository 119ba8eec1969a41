// The program's side of the command table: the shell's commands (files, views, windows,
// tools, flight, help) run by the functions the windows already had, and what the table's
// own runs ask of the windows. Every key, menu item and button runs its command here.
#pragma once

#include <cstddef>
#include <optional>

#include "editor/command-host.h"

class EditSession;
class InputTiming;
class Palette;
class ReferenceView;
class ShownTiming;
class Vaisseau;
class ViewCommands;
class ViewMouse;
class WindowLayout;
struct DisplayFlags;
struct MainWindowHandles;
struct OrbitCamera;
struct PaletteHandles;
struct ShapeWindowHandles;

// The document, the editor's state and the program's host.
CommandContext& shellCommandContext();
// What the shell's commands act on: the view's mouse, asked for the patch under the pointer;
// the palette, whose buttons the tools and toggles press; the layout the view commands
// switch; the reference picture; what the scene shows around the model; the camera commands;
// the document and the session editing it, the camera and the ship; the windows shown,
// closed or owning a dialog; and the timings of undo, redo and import. Given by the shell
// before any window is made.
struct ShellCommandParts {
    ViewMouse& mouse;
    Palette& palette;
    WindowLayout& layout;
    ReferenceView& reference;
    DisplayFlags& display;
    ViewCommands& views;
    Document& document;
    EditSession& session;
    OrbitCamera& camera;
    const Vaisseau& ship;
    const MainWindowHandles& main;
    const PaletteHandles& paletteHandles;
    ShapeWindowHandles& shape;
    InputTiming& inputTiming;
    ShownTiming& shownTiming;
};
void connectShellCommands(const ShellCommandParts& parts);
// Runs the command and says its outcome in the status bar (a refusal worth it beeps).
void runShellCommand(CommandId id);
// The command run last, whether it could run or not (what a key or an item reached).
std::optional<CommandId> lastShellCommand();
// File → Open Recent's entry: opened as Open opens a file, after asking about unsaved
// changes; a file no longer there is said and taken off the list.
void openRecentFile(size_t index);
