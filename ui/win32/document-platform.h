// What the document's file commands need of Windows, made once for the records that hold the
// document's file commands.
#pragma once

#include "editor/document-files.h"

// The message boxes and file dialogs of Windows.
DocumentPrompts windowsDocumentPrompts();
// What the document's file commands need of Windows: gestures ended and the mouse let go
// before a question, the tools' state and the tree cleared for a new document, the recovery
// copy, LoadedFile, paths compared as files, the debugger output.
DocumentFiles::Platform windowsDocumentFilesPlatform();
