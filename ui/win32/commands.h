// The commands that change the document, as the windows call them. Each change is one step
// of the undo history.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "editor/model-history.h"

class Document;
class EditSession;
struct EditorState;

// A gesture under way changed the document (a point drag, the add tool's points, the
// opacity slider): the modified mark shows before its step is recorded.
void markModified(Document& document);

// The toolbar's take-back button (command 2) is usable while the add tool has pending points.
void updateTakeBackButton(HWND mainToolbar, const EditorState& editor);

// Any gesture under way ends, then change edits the model as one undoable step called name
// (none when it returns false or changed nothing); the document tells its views. Returns what
// change returned.
bool editDocument(EditSession& session, const char* name,
                  const std::function<bool(Model&)>& change);

// A click while "dissociate" is down: splits the hot point; true when the model changed.
bool dissociateCommand(EditSession& session, int point);
// The second click while "joint" is down: merges the hovered point into the first one.
bool jointCommand(EditSession& session);

// The toolbar's undo (commands 0 and 3) and redo (command 1) buttons follow the history.
void updateHistoryButtons(HWND mainToolbar, const Document& document);
// The tooltip of a main toolbar button, its command's in the table: "Undo Delete (Ctrl+Z)".
std::string toolbarTip(int command, const Document& document);
