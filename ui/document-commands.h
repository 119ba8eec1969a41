// New, Open and Save: the main toolbar's document commands and their file dialogs.
#pragma once

#include <functional>
#include <string>

// What the commands ask the user. The real ones are the common file dialogs and message
// boxes; tests put in answers of their own.
struct DocumentPrompts {
    enum class Unsaved { Save, Discard, Cancel };
    // Edits path in place; false when the user cancels.
    std::function<bool(bool save, std::string& path)> chooseFile;
    // The document has unsaved changes: save them first, throw them away, or stop.
    std::function<Unsaved(const std::string& title)> askUnsaved;
    // A file could not be read or written.
    std::function<void(const std::string& message)> tell;
};
DocumentPrompts& documentPrompts();

// Unsaved changes are saved or given up, as the user chooses; false when the user keeps them
// (or the save they asked for failed). True at once when there are none.
bool mayDiscardChanges();

// Command 4: after asking about unsaved changes, the built-in model as "New Object.obj".
void newDocument();
// Command 5: after asking, the chosen file. A file that cannot be read is reported and the
// current document stays.
void openDocument();
// Command 6: to LoadedFile, or to a path chosen in the save dialog when there is none. A
// failed write is reported and keeps the modified mark; false then or when cancelled.
bool saveDocument();
