// The commands that change the document, as the windows call them. Each change is one step
// of the undo history.
#pragma once

#include "editor/model-history.h"

// Enables Save and puts the modified mark "*" into the title.
void markModified();

// The toolbar's take-back button (command 2) is usable while the add tool has pending points.
void updateTakeBackButton();

// What changed since before becomes one undoable step called name; the title, the toolbar's
// history buttons, the point list and the coordinate boxes follow. Nothing when nothing
// changed.
void recordEdit(const ModelCopy& before, const char* name);
// The no-tool point drag under way (if any) ends, recorded as one step when it moved.
void finishPointDrag();

// Palette "group" and "symetry": the selected patches into a new group or symmetry.
void groupCommand();
void symmetryCommand();
// Palette "ungroup": the selected patches out of their groups and symmetries.
void ungroupCommand();
// Main window command 7: the selected patches and the points no other patch uses.
void deleteCommand();
// A click while "dissociate" is down: splits the hot point; true when the model changed.
bool dissociateCommand(int point);
// The second click while "joint" is down: merges the hovered point into the first one.
bool jointCommand();

// Undo and redo: the document as it was before the last step, or after the next one. Any
// drag under way is committed first. The tree, the point list, the selection, the GPU copy
// and the picks follow; the "*" goes when the document is back as it was saved.
void undoCommand();
void redoCommand();
// The toolbar's undo (commands 0 and 3) and redo (command 1) buttons follow the history.
void updateHistoryButtons();
// The tooltip of a main toolbar command: "Undo Delete (Ctrl+Z)", "Redo Group (Ctrl+Y)", …
std::string toolbarTip(int command);
// After New, Open or a recovered copy: an empty history; saved says whether the document
// is as a file holds it.
void startHistory(bool saved);
