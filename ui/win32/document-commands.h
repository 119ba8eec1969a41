// New, Open, Save and Save As: the document commands and their file dialogs.
#pragma once

#include <string>

#include "editor/document-files.h"

class Model;

// The message boxes and file dialogs of Windows.
DocumentPrompts windowsDocumentPrompts();
// What the document's file commands need of Windows: gestures ended and the mouse let go
// before a question, the tools' state and the tree cleared for a new document, the recovery
// copy, LoadedFile, paths compared as files, the debugger output.
DocumentFiles::Platform windowsDocumentFilesPlatform();
// The prompts the commands use (a test may put its own answers in).
DocumentPrompts& documentPrompts();

// Unsaved changes are saved or given up, as the user chooses; false when the user keeps them
// (or the save they asked for failed). True at once when there are none. Giving them up
// removes the recovery copy.
bool mayDiscardChanges();

// Command New: after asking about unsaved changes, the built-in model as an untitled
// document (its first Save asks for a name). LoadedFile stays as it is.
void newDocument();
// Command Open: after asking, the chosen file. A file that cannot be read is reported and
// the current document stays; a file read only in part is reported and remembered, so that
// its first Save asks before replacing it.
void openDocument();
// Command Save: to the document's path, or through the save dialog when it has none. A
// failed write is reported and keeps the modified mark; false then or when cancelled.
bool saveDocument();
// Command Save As: always through the save dialog, which proposes the current name.
bool saveDocumentAs();

// Command Import (Ctrl+I): after asking about unsaved changes, a model from another program
// (standard free-form OBJ bicubic Bezier surfaces, or Bezier patch text) becomes an
// untitled, modified document; a file that cannot be represented is refused whole, saying
// why, and the current document stays.
void importDocument();

// Command Export (Ctrl+E): the document's surfaces as a mesh OBJ or binary STL for other 3D
// tools, written whole or not at all. The document, its name and its saved state stay. A
// mesh over the document's own file or over any file that reads as a model is written only
// after the user agrees.
void exportDocument();

// The document replaced by a model read and accepted: nothing of the old one stays
// (locators, pending points, picks, tree). path is its file ("" untitled), partlyRead where
// reading that file stopped, saved whether the model is as that file holds it.
void replaceDocument(Model&& model, std::string path, std::string partlyRead, bool saved);

// Start-up: the document named by LoadedFile, or the built-in model. A file that is refused,
// missing or cannot be a model (a folder) is reported and leaves an untitled document with
// the built-in model (LoadedFile keeps its name until the user saves or opens); a file read
// in part is reported as Open does.
void openStartupDocument();
