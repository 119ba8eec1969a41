#include "ui/document-commands.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "core/Application.h"
#include "core/file-replace.h"
#include "core/session-keys.h"
#include "editor/commands.h"
#include "editor/mouse-handler.h"
#include "model/obj-format.h"
#include "ui/palette.h"
#include "ui/shape-window.h"

namespace {

bool fileDialog(bool save, std::string& path) {
    std::vector<char> buffer(260, '\0');
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = application.mainWindow;
    dialog.lpstrFilter = "OBJ Files (*.obj)\0*.obj\0\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.Flags = OFN_OVERWRITEPROMPT;
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
    path = buffer.data();
    return true;
}

DocumentPrompts::Unsaved askUnsaved(const std::string& title) {
    const std::string text = "Save the changes to \"" + title + "\"?";
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

void tell(const std::string& message) {
    OutputDebugStringA(("Tavrel: " + message + "\n").c_str());
    MessageBoxA(application.mainWindow, message.c_str(), "Tavrel", MB_OK | MB_ICONWARNING);
}

Model& document() {
    return application.ship;
}

} // namespace

bool mayDiscardChanges() {
    if (!editorState.modified) return true;
    switch (documentPrompts().askUnsaved(fileStem(editorState.loadedFile))) {
    case DocumentPrompts::Unsaved::Save:
        return saveDocument();
    case DocumentPrompts::Unsaved::Discard:
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
    document().clear();
    document().locators.clear();
    editorState.pendingPoints.clear();
    editorState.hoveredPoint = -1;
    editorState.hoveredPatch = -1;
    editorState.hotPoint = false;
    editorState.firstJointPoint = -1;
    shapeTree().deleteAllItems();
}

void adoptPath(const std::string& path) {
    editorState.loadedFile = path;
    sessionSettings().writeString(session::kSession, "LoadedFile", path);
    updateTitle(false);
}

void finishSwitch() {
    updateTakeBackButton();
    resetShapeWindow();
    syncPickState();
    refreshSelectionPanel();
}

} // namespace

DocumentPrompts& documentPrompts() {
    static DocumentPrompts prompts{fileDialog, askUnsaved, tell};
    return prompts;
}

void newDocument() {
    if (!mayDiscardChanges()) return;
    startClean();
    document().createDefault();
    adoptPath("New Object.obj");
    finishSwitch();
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
    Model check;
    ObjResult result = readObj(text, check, nullptr);
    if (!result.ok()) {
        documentPrompts().tell("Tavrel could not open the model \"" + path +
                               "\": " + result.reason + ".");
        return;
    }
    startClean();
    readObj(text, document(), &shapeTree());
    document().rebuildBuffers();
    adoptPath(path);
    finishSwitch();
}

bool saveDocument() {
    std::string path = editorState.loadedFile;
    if (path.empty()) {
        path = "New Object.obj";
        if (!documentPrompts().chooseFile(true, path)) return false;
    }
    ObjResult result = saveObj(document(), path);
    if (!result.ok()) {
        documentPrompts().tell("Tavrel could not save the model to \"" + path +
                               "\": " + result.reason + ".");
        return false;
    }
    adoptPath(path);
    return true;
}
