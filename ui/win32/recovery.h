// The recovery copy of the document: written at most every 30 s while there are unsaved
// changes, at once when the device is lost, a fatal error ends the program or Windows ends
// the session; removed by Save, by giving the changes up, by undoing back to the saved state
// and by a clean exit. Each running editor owns a copy of its own in the "recovery" folder
// beside session.ini and holds its lock while it runs; a copy whose owner is gone is offered
// at the next start.
#pragma once

#include <windows.h>

#include <string>

#include "editor/recovery-writer.h"

class Document;
class DocumentFiles;
struct DocumentPrompts;
struct EditorState;

// The recovery copy: its writer, this editor's copy (its name in the recovery folder and the
// lock held while the editor runs), and whether its last failure was said.
struct RecoveryCopy {
    RecoveryWriter writer;
    std::string stem;
    HANDLE lock = INVALID_HANDLE_VALUE;
    bool failureTold = false;
};

// The copy kept, of the document's model (the editor's current one). Given by the shell
// before any window is made; the crash handlers reach the copy through it.
struct RecoveryParts {
    RecoveryCopy& copy;
    const Document& document;
    const EditorState& editor;
};
void connectRecovery(const RecoveryParts& parts);

// Start-up, before the first copy: this editor's copy name and its lock.
void claimRecoveryCopy();
// This editor's own copy (its name is fixed by claimRecoveryCopy).
std::string recoveryCopyPath();
// Once per frame: starts a copy when one is due (the copy is written off this thread).
void autosaveTick(double nowSeconds);
// Writes the copy now when there are unsaved changes (waits for one under way, unless it is
// called on the thread writing it).
void writeRecoveryCopyNow();
// The document was saved or its changes given up: no copy is needed any more.
void discardRecoveryCopy();
// End of start-up: each copy left behind by an editor no longer running is offered
// ("Recover the unsaved changes of <name> from <time>?"), newest first, until one is taken;
// taken, it becomes the document (through files), modified, under its original path and
// with its file's partly-read state; declined, it is deleted. The questions go to prompts.
void offerRecoveryCopy(DocumentFiles& files, const DocumentPrompts& prompts);
