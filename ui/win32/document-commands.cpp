#include "ui/win32/document-commands.h"

#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <vector>

#include "core/file-replace.h"
#include "core/session-keys.h"
#include "core/win32/input-timing.h"
#include "editor/edit-session.h"
#include "model/obj-format.h"
#include "ui/win32/commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/recent-file-list.h"
#include "ui/win32/recovery.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/shape-window-handles.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

namespace {

std::optional<DocumentCommandParts> parts;

HWND owner() {
    return parts ? parts->main.window : nullptr;
}

bool fileDialog(bool save, std::string& path, const char* filter) {
    // A name typed without an extension takes the chosen filter's before the dialog checks
    // for a file to overwrite, so its question is about the file that will be written.
    std::vector<char> buffer(MAX_PATH, '\0');
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner();
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
    const bool chosen = fileDialog(false, path,
                                   "Wavefront free-form OBJ (*.obj)\0*.obj\0"
                                   "Bezier patch text (*.bpt;*.txt;*.patch)\0*.bpt;*.txt;*.patch\0"
                                   "IGES surfaces (*.igs;*.iges)\0*.igs;*.iges\0"
                                   "STEP surfaces (*.stp;*.step)\0*.stp;*.step\0"
                                   "All files (*.*)\0*.*\0\0");
    // Timed from the dialog's OK: what the user waits for is the imported model on screen.
    if (chosen) parts->shownTiming.start("import");
    return chosen;
}

bool exportDialog(std::string& path, DocumentPrompts::ExportKind& kind) {
    std::vector<char> buffer(MAX_PATH, '\0');
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner();
    // The mesh formats, then the exact surfaces (filters 3 to 5).
    dialog.lpstrFilter = "Mesh OBJ (*.obj)\0*.obj\0STL (*.stl)\0*.stl\0"
                         "IGES surfaces (*.igs;*.iges)\0*.igs;*.iges\0"
                         "STEP surfaces (*.stp;*.step)\0*.stp;*.step\0"
                         "Free-form OBJ surfaces (*.obj)\0*.obj\0\0";
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
    kind = dialog.nFilterIndex >= 3 ? DocumentPrompts::ExportKind::Exact
                                    : DocumentPrompts::ExportKind::Mesh;
    return true;
}

DocumentPrompts::Unsaved unsavedBox(const std::string& title) {
    const std::string text = "Save the changes to \"" + title + "\"?";
    OutputDebugStringA(("Tavrel asks: " + text + "\n").c_str());
    switch (MessageBoxA(owner(), text.c_str(), "Tavrel", MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES:
        return DocumentPrompts::Unsaved::Save;
    case IDNO:
        return DocumentPrompts::Unsaved::Discard;
    default:
        return DocumentPrompts::Unsaved::Cancel;
    }
}

DocumentPrompts::PartlyRead partlyReadBox(const std::string& path, const std::string& stop) {
    const std::string text =
        "\"" + path + "\" was only partly read (" + stop +
        ").\n\nSaving over it replaces the whole file with what was read; the rest is lost.\n\n"
        "Yes: save under another name.\nNo: replace the file.\nCancel: do not save.";
    switch (MessageBoxA(owner(), text.c_str(), "Tavrel",
                        MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON1)) {
    case IDYES:
        return DocumentPrompts::PartlyRead::SaveElsewhere;
    case IDNO:
        return DocumentPrompts::PartlyRead::Replace;
    default:
        return DocumentPrompts::PartlyRead::Cancel;
    }
}

bool recoverBox(const std::string& question) {
    return MessageBoxA(owner(), question.c_str(), "Tavrel", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool pictureDialog(std::string& path) {
    return fileDialog(false, path,
                      "Pictures (*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff)\0"
                      "*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff\0All files (*.*)\0*.*\0\0");
}

bool replaceModelBox(const std::string& question) {
    OutputDebugStringA(("Tavrel asks: " + question + "\n").c_str());
    return MessageBoxA(owner(), question.c_str(), "Tavrel",
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

void warningBox(const std::string& message) {
    OutputDebugStringA(("Tavrel: " + message + "\n").c_str());
    MessageBoxA(owner(), message.c_str(), "Tavrel", MB_OK | MB_ICONWARNING);
}

// A new document starts with nothing of the old one: no pending points, picks or half-done
// joint, and an empty tree to read locator names into.
void clearToolsForNewDocument() {
    EditorState& editor = parts->session.state();
    editor.forgetGestures();
    parts->shape.treeView.deleteAllItems();
    updateTakeBackButton(parts->main.toolbar, editor);
    parts->shownTiming.phase("read"); // an import's file is read when its model replaces
}

// Why start-up's file could not be read, and what is shown instead.
std::string whyUnreadable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const char* why = attributes == INVALID_FILE_ATTRIBUTES     ? "the file is not there"
                      : (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "it is a folder"
                                                                : "it cannot be read";
    return std::string(why) + ". The built-in model is shown, untitled";
}

// Whether two paths name one file (case and relative paths aside); false for an empty one.
bool namesSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    char fullA[MAX_PATH] = {}, fullB[MAX_PATH] = {};
    if (!GetFullPathNameA(a.c_str(), MAX_PATH, fullA, nullptr) ||
        !GetFullPathNameA(b.c_str(), MAX_PATH, fullB, nullptr))
        return lstrcmpiA(a.c_str(), b.c_str()) == 0;
    return lstrcmpiA(fullA, fullB) == 0;
}

} // namespace

DocumentPrompts windowsDocumentPrompts() {
    return {documentDialog, unsavedBox,   partlyReadBox,   recoverBox,   warningBox,
            importDialog,   exportDialog, replaceModelBox, pictureDialog};
}

void connectDocumentCommands(const DocumentCommandParts& given) {
    parts.emplace(given);
}

DocumentPrompts& documentPrompts() {
    return parts->prompts;
}

DocumentFiles::Platform windowsDocumentFilesPlatform() {
    DocumentFiles::Platform platform;
    platform.settle = [] {
        finishGestures(parts->session);
        // The question gets the mouse: a window holding it keeps the question from showing.
        if (GetCapture()) ReleaseCapture();
    };
    platform.startClean = clearToolsForNewDocument;
    platform.discardRecovery = discardRecoveryCopy;
    platform.rememberPath = [](const std::string& path) {
        sessionSettings().writeString(session::kSession, "LoadedFile", path);
        rememberRecentFile(path);
    };
    platform.samePath = namesSameFile;
    platform.log = [](const std::string& line) { OutputDebugStringA((line + "\n").c_str()); };
    return platform;
}

DocumentFiles& documentFiles() {
    return parts->files;
}

void openStartupDocument(DocumentFiles& files, const DocumentPrompts& prompts,
                         const std::string& path, bool given) {
    // A file that could not be read now (a drive not yet attached) is not shown under its
    // name: the next Save asks for one, and LoadedFile stays until the user saves or opens.
    const std::string unreadable = path.empty() ? "" : whyUnreadable(path);
    const std::string refusal = path.empty() ? ""
                                : given      ? files.openGiven(path, unreadable)
                                             : files.openFile(path, unreadable);
    if (!path.empty() && refusal.empty()) return;
    files.startUntitled();
    if (!refusal.empty()) prompts.tell(refusal);
}

bool openNamedFile(const std::string& path, bool given) {
    if (!documentFiles().mayDiscardChanges()) return false;
    const std::string refusal = given ? documentFiles().openGiven(path, "it cannot be read")
                                      : documentFiles().openFile(path, "it cannot be read");
    if (!refusal.empty()) documentPrompts().tell(refusal);
    if (refusal.empty()) documentFiles().showWhole();
    showStatusMessage(refusal.empty() ? documentFiles().takeOutcome() : refusal);
    return refusal.empty();
}
