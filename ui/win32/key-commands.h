// The keyboard through the command table: a key going down or up in the main window runs
// the command it means, with the modifiers held (Ctrl, Shift, the first of X, Y, Z held).
// The file, history and window keys work from every window of the program, as accelerators.
#pragma once

#include <windows.h>

#include "editor/command-keys.h"

Modifiers heldModifiers();
// True when the key meant a command (and it ran).
bool runKeyCommand(WPARAM key, KeyEdge edge);
// The accelerator table of the keys that work from any of the program's windows; each sends
// WM_COMMAND with its command's menu id.
HACCEL createCommandAccelerators();
