#include "ui/win32/document-commands.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "core/file-replace.h"
#include "core/session-keys.h"
#include "model/mesh-export.h"
#include "model/model-file-kind.h"
#include "model/obj-format.h"
#include "model/patch-import.h"
#include "ui/win32/commands.h"
#include "ui/win32/mouse-handler.h"
#include "ui/win32/palette.h"
#include "ui/win32/records.h"
#include "ui/win32/recovery.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/tool-modes.h"

namespace {

bool fileDialog(bool save, std::string& path, const char* filter) {
    // A name typed without an extension takes the chosen filter's before the dialog checks
    // for a file to overwrite, so its question is about the file that will be written.
    std::vector<char> buffer(MAX_PATH, '\0');
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = application.mainWindow;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    // The working directory stays where the program started: session.ini, the shaders and
    // the planet's picture are found there.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | (save ? 0 : OFN_FILEMUSTEXIST);
    if (save) dialog.lpstrDefExt = "obj";
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
    path = buffer.data();
    return true;
}

bool documentDialog(bool save, std::string& path) {
    return fileDialog(save, path, "OBJ Files (*.obj)\0*.obj\0\0");
}

bool importDialog(std::string& path) {
    return fileDialog(false, path,
                      "Wavefront free-form OBJ (*.obj)\0*.obj\0"
                      "Bezier patch text (*.bpt;*.txt;*.patch)\0*.bpt;*.txt;*.patch\0"
                      "All files (*.*)\0*.*\0\0");
}

bool exportDialog(std::string& path) {
    std::vector<char> buffer(MAX_PATH, '\0');
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = application.mainWindow;
    dialog.lpstrFilter = "Mesh OBJ (*.obj)\0*.obj\0STL (*.stl)\0*.stl\0\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = "Export";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    // The dialog adds the chosen filter's extension (this one only when a filter has none)
    // before its overwrite question, so the question sees the real name.
    dialog.lpstrDefExt = "obj";
    if (!GetSaveFileNameA(&dialog)) return false;
    path = buffer.data();
    return true;
}

DocumentPrompts::Unsaved askUnsaved(const std::string& title) {
    const std::string text = "Save the changes to \"" + title + "\"?";
    OutputDebugStringA(("Tavrel asks: " + text + "\n").c_str());
    switch (MessageBoxA(application.mainWindow, text.c_str(), "Tavrel",
                        MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return DocumentPrompts::Unsaved::Save;
    case IDNO:
        return DocumentPrompts::Unsaved::Discard;
    default:
        return DocumentPrompts::Unsaved::Cancel;
    }
}

DocumentPrompts::PartlyRead askPartlyRead(const std::string& path, const std::string& stop) {
    const std::string text =
        "\"" + path + "\" was only partly read (" + stop +
        ").\n\nSaving over it replaces the whole file with what was read; the rest is lost.\n\n"
        "Yes: save under another name.\nNo: replace the file.\nCancel: do not save.";
    switch (MessageBoxA(application.mainWindow, text.c_str(), "Tavrel",
                        MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON1)) {
    case IDYES:
        return DocumentPrompts::PartlyRead::SaveElsewhere;
    case IDNO:
        return DocumentPrompts::PartlyRead::Replace;
    default:
        return DocumentPrompts::PartlyRead::Cancel;
    }
}

bool askRecover(const std::string& question) {
    return MessageBoxA(application.mainWindow, question.c_str(), "Tavrel",
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool askReplaceModel(const std::string& question) {
    OutputDebugStringA(("Tavrel asks: " + question + "\n").c_str());
    return MessageBoxA(application.mainWindow, question.c_str(), "Tavrel",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void tell(const std::string& message) {
    OutputDebugStringA(("Tavrel: " + message + "\n").c_str());
    MessageBoxA(application.mainWindow, message.c_str(), "Tavrel", MB_OK | MB_ICONWARNING);
}

Model& theModel() {
    return application.ship;
}

// Whether two paths name one file (case and relative paths aside); false for an empty one.
bool samePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    char fullA[MAX_PATH] = {}, fullB[MAX_PATH] = {};
    if (!GetFullPathNameA(a.c_str(), MAX_PATH, fullA, nullptr) ||
        !GetFullPathNameA(b.c_str(), MAX_PATH, fullB, nullptr))
        return lstrcmpiA(a.c_str(), b.c_str()) == 0;
    return lstrcmpiA(fullA, fullB) == 0;
}

} // namespace

DocumentPrompts windowsDocumentPrompts() {
    return {documentDialog, askUnsaved,   askPartlyRead, askRecover,
            tell,           importDialog, exportDialog,  askReplaceModel};
}

DocumentPrompts& documentPrompts() {
    return application.prompts;
}

bool mayDiscardChanges() {
    // A drag under way ends here, committed: what the view shows is what is asked about,
    // and the question gets the mouse (a window holding it keeps the question from showing).
    finishGestures();
    if (GetCapture()) ReleaseCapture();
    if (!document().modified()) return true;
    switch (documentPrompts().askUnsaved(documentName(document().path()))) {
    case DocumentPrompts::Unsaved::Save:
        return saveDocument();
    case DocumentPrompts::Unsaved::Discard:
        discardRecoveryCopy();
        return true;
    case DocumentPrompts::Unsaved::Cancel:
        return false;
    }
    return false;
}

namespace {

// A new document starts with nothing of the old one: no model, locators, pending points,
// picks or half-done joint, and an empty tree to read locator names into.
void startClean() {
    theModel().clear();
    theModel().locators.clear();
    editorState.pendingPoints.clear();
    editorState.hoveredPoint = -1;
    editorState.hoveredPatch = -1;
    editorState.hotPoint = false;
    editorState.firstJointPoint = -1;
    editorState.draggedPoint = -1;
    editorState.transformDrag = false;
    editorState.translation = {};
    shapeTree().deleteAllItems();
}

// LoadedFile follows only a path the user saved or opened.
void rememberPath(const std::string& path) {
    sessionSettings().writeString(session::kSession, "LoadedFile", path);
}

void tellPartlyRead(const std::string& path, const ObjResult& result) {
    documentPrompts().tell("Tavrel read only part of the model \"" + path + "\": " +
                           result.stopMessage() + ". Saving asks before replacing the file.");
}

bool writeTo(const std::string& path) {
    ObjResult result = saveObj(theModel(), path);
    if (!result.ok()) {
        documentPrompts().tell("Tavrel could not save the model to \"" + path +
                               "\": " + result.reason + ".");
        return false;
    }
    document().saved(path); // the recovery copy goes with the changes it kept
    rememberPath(path);
    return true;
}

} // namespace

void newDocument() {
    if (!mayDiscardChanges()) return;
    Model fresh;
    fresh.createDefault();
    replaceDocument(std::move(fresh), "", "", true);
}

void openDocument() {
    if (!mayDiscardChanges()) return;
    std::string path;
    if (!documentPrompts().chooseFile(false, path)) return; // the current document stays
    std::string text;
    if (!readFileContents(path, text)) {
        documentPrompts().tell("Tavrel could not open the model \"" + path +
                               "\": it cannot be opened.");
        return;
    }
    Model opened;
    ObjResult result = readObj(text, opened, nullptr);
    const bool nothingRead = opened.points.empty() && opened.patches.empty();
    if ((!result.ok() || (result.partial() && nothingRead)) &&
        modelFileKind(text) == ModelFileKind::Standard) {
        documentPrompts().tell("\"" + path +
                               "\" is a standard free-form OBJ or Bezier patch text file, not "
                               "Tavrel's own format: Import (Ctrl+I) reads it.");
        return;
    }
    if (!result.ok()) {
        documentPrompts().tell("Tavrel could not open the model \"" + path +
                               "\": " + result.reason + ".");
        return;
    }
    replaceDocument(std::move(opened), path, result.partial() ? result.stopMessage() : "", true);
    rememberPath(path);
    if (result.partial()) tellPartlyRead(path, result);
}

void importDocument() {
    if (!mayDiscardChanges()) return;
    std::string path;
    if (!documentPrompts().chooseImport(path)) return; // the current document stays
    std::string text;
    if (!readFileContents(path, text)) {
        documentPrompts().tell("Tavrel could not import \"" + path + "\": it cannot be opened.");
        return;
    }
    Model imported;
    const ImportResult result = importPatches(text, imported);
    if (!result.ok) {
        documentPrompts().tell("Tavrel could not import \"" + path + "\": " + result.reason +
                               ". Nothing was imported.");
        return;
    }
    // Untitled: its first Save asks where, never over the imported file.
    replaceDocument(std::move(imported), "", "", false);
    if (result.partial())
        documentPrompts().tell("Tavrel read only part of \"" + path + "\": " + result.stop + ".");
    OutputDebugStringA(("Tavrel imported " + result.format + ": " +
                        std::to_string(theModel().patches.size()) + " patches, " +
                        std::to_string(result.skipped) + " statements skipped\n")
                           .c_str());
}

void exportDocument() {
    finishGestures(); // the mesh is what the view shows
    std::string path;
    if (!documentPrompts().chooseExport(path)) return;
    const auto format = mesh::formatFor(path);
    if (!format) {
        documentPrompts().tell("Tavrel could not export \"" + path +
                               "\": the name must end in .obj or .stl. Nothing was written.");
        return;
    }
    // A mesh written over a model destroys it: the document's own file, or any file that
    // reads as a model, is replaced only when the user says so.
    const bool ownFile = samePath(path, document().path());
    std::string existing;
    if (ownFile || (readFileContents(path, existing) && readsAsModel(existing))) {
        const std::string question =
            "\"" + path + "\" " +
            (ownFile ? std::string("is the file of the model you are editing")
                     : std::string("holds a model")) +
            ".\n\nReplace it with a triangle mesh? The model in it would be lost.";
        if (!documentPrompts().askReplaceModel(question)) return;
    }
    std::string reason;
    mesh::Written written;
    if (!mesh::exportModel(theModel(), *format, mesh::kDefaultSegments, path, reason, &written)) {
        documentPrompts().tell("Tavrel could not export \"" + path + "\": " + reason +
                               ". Nothing was written.");
        return;
    }
    OutputDebugStringA(
        ("Tavrel exported " + path + ": " + std::to_string(written.triangles) + " triangles\n")
            .c_str());
}

void replaceDocument(Model&& model, std::string path, std::string partlyRead, bool saved) {
    startClean();
    // The views make the shape window anew from the model (locators' names included), the
    // GPU copy, the picks, the title and the history buttons.
    document().replace(std::move(model), std::move(path), std::move(partlyRead), saved);
    updateTakeBackButton();
}

bool saveDocument() {
    finishGestures(); // what the view shows is what is written
    if (GetCapture()) ReleaseCapture();
    const std::string path = document().path();
    if (path.empty()) return saveDocumentAs();
    if (!document().partlyRead().empty()) {
        switch (documentPrompts().askPartlyRead(path, document().partlyRead())) {
        case DocumentPrompts::PartlyRead::SaveElsewhere:
            return saveDocumentAs();
        case DocumentPrompts::PartlyRead::Replace:
            break;
        case DocumentPrompts::PartlyRead::Cancel:
            return false;
        }
    }
    return writeTo(path);
}

bool saveDocumentAs() {
    finishGestures();
    if (GetCapture()) ReleaseCapture();
    const Document& d = document();
    std::string path = d.path().empty() ? "New Object.obj" : d.path();
    for (;;) {
        if (!documentPrompts().chooseFile(true, path)) return false;
        // The partly read file itself is not a place "elsewhere": ask again.
        if (d.partlyRead().empty() || path != d.path()) break;
        if (documentPrompts().askPartlyRead(path, d.partlyRead()) ==
            DocumentPrompts::PartlyRead::Replace)
            break;
    }
    return writeTo(path);
}

void openStartupDocument() {
    Model& model = theModel();
    const std::string path = editorState.startupFile;
    auto untitled = [&](const std::string& message) {
        // Nothing of the file is shown under its name: the next Save asks for one, and never
        // writes the built-in model over a file that could not be read now (a drive not yet
        // attached). LoadedFile stays until the user saves or opens.
        model.clear();
        model.locators.clear();
        model.createDefault();
        document().adopt("", "", true);
        if (!message.empty()) documentPrompts().tell(message);
    };
    if (path.empty()) return untitled("");
    std::string text;
    if (!readFileContents(path, text)) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        const char* why = attributes == INVALID_FILE_ATTRIBUTES     ? "the file is not there"
                          : (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "it is a folder"
                                                                    : "it cannot be read";
        return untitled("Tavrel could not open the model \"" + path + "\": " + why +
                        ". The built-in model is shown, untitled.");
    }
    ObjResult result = readObj(text, model, nullptr);
    if (!result.ok())
        return untitled("Tavrel could not open the model \"" + path + "\": " + result.reason + ".");
    model.rebuildBuffers();
    document().adopt(path, result.partial() ? result.stopMessage() : "", true);
    if (result.partial()) tellPartlyRead(path, result);
}
