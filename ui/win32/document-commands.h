// New, Open, Save and Save As: the document commands and their file dialogs.
#pragma once

#include <string>

#include "editor/document-files.h"
#include "ui/win32/document-platform.h"

class EditSession;
class ShownTiming;
struct MainWindowHandles;
struct ShapeWindowHandles;

// What the commands and their dialogs work with: the main window (the dialogs' owner and
// its take-back button), the shape window's tree (emptied for a new document), the session
// whose gestures end first, the import's timing, the prompts and the document's files.
// Given by the shell before any window is made.
struct DocumentCommandParts {
    const MainWindowHandles& main;
    ShapeWindowHandles& shape;
    EditSession& session;
    ShownTiming& shownTiming;
    DocumentPrompts& prompts;
    DocumentFiles& files;
};
void connectDocumentCommands(const DocumentCommandParts& parts);

// The prompts the commands use (a test may put its own answers in).
DocumentPrompts& documentPrompts();

// New, Open, Save, Save As, Import, Export and the question about unsaved changes, asking
// through documentPrompts() (described in editor/document-files.h).
DocumentFiles& documentFiles();

// Start-up: path (LoadedFile) opened through files as Open opens a file, or the built-in
// model. A file that is refused, missing or cannot be a model (a folder) is told through
// prompts and leaves an untitled document with the built-in model (LoadedFile keeps its name
// until the user saves or opens); a file read in part is told as Open tells it. A file given
// on the command line (given) is imported when it is another program's model.
void openStartupDocument(DocumentFiles& files, const DocumentPrompts& prompts,
                         const std::string& path, bool given = false);

// A file named outside the Open dialog (a recent file, a dropped one): after the question
// about unsaved changes, opened as Open opens it, or, given, as a file given on the command
// line (another program's model imported). A refusal is told; whether it opened.
bool openNamedFile(const std::string& path, bool given);
