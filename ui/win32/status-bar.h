// The main window's status bar: its parts' text, the message part's confirmations (each
// stays until the next or a few seconds, then the selection is summed up), and its parts'
// widths, measured in its own font, for editing or for flight.
#pragma once

#include <string>

#include "ui/status-parts.h"

class Document;
struct EditorState;
struct MainWindowHandles;

// The bar is the main window's; the editor's mode chooses its parts, and the document's
// model is the one summed up. Given by the shell before any window is made.
struct StatusBarParts {
    const MainWindowHandles& main;
    const EditorState& editor;
    const Document& document;
};
void connectStatusBar(const StatusBarParts& parts);

// Text in one part (nothing before the bar exists); the message part's text gives way to
// the selection's summary after a while.
void setStatusText(StatusPart part, const std::string& text);
// A confirmation in the message part, said to the debugger too ("Tavrel status: …").
void showStatusMessage(const std::string& text);
// How many times the message part was written: a command that wrote its own line keeps it.
unsigned statusMessageWrites();

// The parts' widths for the window's width and the mode (editing: the cursor, the cursor
// from the target, the message; flight: speed, altitude, throttle).
void layOutStatusBar();
// Every frame: when the mode changed, the other mode's readouts go and the parts are laid
// out for this one.
void followStatusMode();
