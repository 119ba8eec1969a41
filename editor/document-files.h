// The document and its files: New, Open, Save, Save As, Import and Export, with the
// questions they ask and what they tell. The answers come from DocumentPrompts (the
// platform's dialogs, or a test's), and the few things only the platform knows through
// DocumentFiles::Platform.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "editor/document.h"
#include "model/patch-import.h"

struct DocumentPrompts {
    enum class Unsaved { Save, Discard, Cancel };
    enum class PartlyRead { SaveElsewhere, Replace, Cancel };
    // Edits path in place; false when the user cancels.
    std::function<bool(bool save, std::string& path)> chooseFile;
    // The document has unsaved changes: save them first, throw them away, or stop.
    std::function<Unsaved(const std::string& title)> askUnsaved;
    // The document's file was only partly read: saving to it would drop the rest.
    std::function<PartlyRead(const std::string& path, const std::string& stop)> askPartlyRead;
    // A recovery copy was left behind: take it (true) or not.
    std::function<bool(const std::string& question)> askRecover;
    // A file could not be read or written, or was read only in part.
    std::function<void(const std::string& message)> tell;
    // The file to import (a standard free-form OBJ or Bezier patch text); false to cancel.
    std::function<bool(std::string& path)> chooseImport;
    // What an export writes: triangles (mesh OBJ or STL, by the name's ending), or the exact
    // surfaces (IGES or STEP by the name's ending, free-form OBJ for .obj).
    enum class ExportKind { Mesh, Exact };
    // Where to export, and as what; false to cancel.
    std::function<bool(std::string& path, ExportKind& kind)> chooseExport;
    // An export would replace a model (the document's own file or another): true to go on.
    std::function<bool(const std::string& question)> askReplaceModel;
    // A picture to model from (any image the decoder reads); false to cancel.
    std::function<bool(std::string& path)> choosePicture;
};

class DocumentFiles {
  public:
    struct Platform {
        // Before a question or a write: a gesture under way ends, committed, so that what the
        // view shows is what is asked about or written.
        std::function<void()> settle = [] {};
        // A new document starts with nothing of the old one's tools (pending points, picks).
        std::function<void()> startClean = [] {};
        // The user gave the unsaved changes up: their recovery copy goes.
        std::function<void()> discardRecovery = [] {};
        // LoadedFile follows only a path the user saved or opened.
        std::function<void(const std::string& path)> rememberPath = [](const std::string&) {};
        // Whether two paths name one file; false for an empty one.
        std::function<bool(const std::string& a, const std::string& b)> samePath =
            [](const std::string& a, const std::string& b) { return !a.empty() && a == b; };
        // A model the user opened or imported is shown whole (start-up's keeps its camera).
        std::function<void()> showWhole = [] {};
        // What happened, for the debugger output.
        std::function<void(const std::string& line)> log = [](const std::string&) {};
    };

    DocumentFiles(Document& document, DocumentPrompts& prompts, Platform platform)
        : document_(document), prompts_(prompts), platform_(std::move(platform)) {}
    // The view that shows a new document whole, once the windows exist.
    void showWholeWith(std::function<void()> show) { platform_.showWhole = std::move(show); }
    void showWhole() { platform_.showWhole(); }

    // Unsaved changes are saved or given up, as the user chooses; false when the user keeps
    // them (or the save they asked for failed). True at once when there are none. Changes
    // given up keep their recovery copy until another document replaces them (a cancelled
    // or refused Open leaves the work in the window, so its copy stays).
    bool mayDiscardChanges();
    // The window closes: as mayDiscardChanges, and changes given up lose their copy now.
    bool mayClose();

    // New: after asking about unsaved changes, the built-in model, untitled (its first Save
    // asks for a name). LoadedFile stays as it is.
    void newDocument();
    // Open: after asking, the chosen file. A file that cannot be read is told and the
    // current document stays; a file read only in part is told and remembered, so that its
    // first Save asks before replacing it.
    void open();
    // Open without its questions (start-up's file): path becomes the document. Returns why
    // it was refused, not yet told ("" when it was opened); unreadable says why a file that
    // cannot be read was not.
    std::string openFile(const std::string& path, const std::string& unreadable);
    // A file given to the program (on its command line, or dropped on it), without
    // questions: the editor's own file opens as openFile opens it, any other model that
    // Import reads (free-form OBJ, patch text, IGES, STEP) is imported, untitled. Returns why
    // it was refused, not yet told ("" when it became the document).
    std::string openGiven(const std::string& path, const std::string& unreadable);
    // New without its question: the built-in model, untitled.
    void startUntitled();
    // Save: to the document's path, or through the save dialog when it has none. A failed
    // write is told and keeps the modified mark; false then or when cancelled.
    bool save();
    // Save As: always through the save dialog, which proposes the current name.
    bool saveAs();
    // Import: after asking about unsaved changes, a model from another program (standard
    // free-form OBJ bicubic Bezier surfaces, or Bezier patch text) becomes an untitled,
    // modified document; a file that cannot be represented is refused whole, saying why.
    bool import(); // true when the imported model replaced the document
    // Export: the surfaces as a mesh OBJ or binary STL, or exactly as IGES, STEP or free-form
    // OBJ, written whole or not at all. The document, its name and its saved state stay. An
    // export over the document's own file or any file that reads as a model is written only
    // after the user agrees.
    void exportSurfaces();

    // The document replaced by a model read and accepted: nothing of the old one stays.
    // path is its file ("" untitled), partlyRead where reading it stopped, saved whether
    // the model is as that file holds it.
    void replace(Model&& model, std::string path, std::string partlyRead, bool saved);

    // A file was read only in part: said, with where reading stopped.
    void tellPartlyRead(const std::string& path, const std::string& stop);

    // What the last of these commands did, or why not, in one line for the status bar
    // ("Saved wing.obj", "Exported wing.stp: 10 surfaces", "Nothing saved"); taken, it is
    // empty until the next.
    std::string takeOutcome() { return std::exchange(outcome_, {}); }

  private:
    // The outcome, and a refusal told in a message box as well.
    void say(std::string line) { outcome_ = std::move(line); }
    void tell(const std::string& message);
    bool writeTo(const std::string& path);
    std::string openOrImport(const std::string& path, const std::string& unreadable,
                             bool importOthers);
    // The model in text becomes the untitled document; why not, when it cannot.
    std::string importText(const std::string& path, std::string_view text);
    void takeImport(const std::string& path, const ImportResult& result, Model&& imported);

    Document& document_;
    DocumentPrompts& prompts_;
    Platform platform_;
    bool changesGivenUp_ = false; // their recovery copy goes with the document
    std::string outcome_;
};
