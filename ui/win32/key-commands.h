// The keyboard through the command table: a key going down or up in the main window runs
// the command it means, with the modifiers held (Ctrl, Shift, the first of X, Y, Z held).
// The file, history and window keys work from every window of the program, as accelerators.
#pragma once

#include <windows.h>

#include "core/editor-modes.h"
#include "editor/command-keys.h"

Modifiers heldModifiers();
// Every key going down, before the accelerators take theirs: its release then means what
// the press meant (the modifiers held at the press; nothing when the press ran a command).
// mode: the editor's (the keys of flight are not those of editing).
void noteKeyPress(const MSG& msg, Mode mode);
// True when the key meant a command (and it ran).
bool runKeyCommand(WPARAM key, KeyEdge edge, Mode mode);
// The accelerator table of the keys that work from any of the program's windows; each sends
// WM_COMMAND with its command's menu id.
HACCEL createCommandAccelerators();
// While the mouse is captured (a drag under way) accelerators send nothing: a key of theirs
// going down runs its command here instead (the command commits the drag first). True when
// it ran one.
bool runAcceleratorKeyDuringCapture(const MSG& msg, Mode mode);
