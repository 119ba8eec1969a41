#include "editor/document-files.h"

#include "core/file-replace.h"
#include "core/mapped-file.h"
#include "editor/command-status.h"
#include "editor/editor-state.h"
#include "model/cad-export.h"
#include "model/cad-import.h"
#include "model/mesh-export.h"
#include "model/model-file-kind.h"
#include "model/obj-format.h"
#include "model/patch-import.h"

bool DocumentFiles::mayDiscardChanges() {
    platform_.settle();
    if (!document_.modified()) return true;
    switch (prompts_.askUnsaved(documentName(document_.path()))) {
    case DocumentPrompts::Unsaved::Save:
        return save();
    case DocumentPrompts::Unsaved::Discard:
        changesGivenUp_ = true;
        return true;
    case DocumentPrompts::Unsaved::Cancel:
        return false;
    }
    return false;
}

bool DocumentFiles::mayClose() {
    if (!mayDiscardChanges()) return false;
    if (changesGivenUp_) platform_.discardRecovery();
    changesGivenUp_ = false;
    return true;
}

void DocumentFiles::newDocument() {
    if (!mayDiscardChanges()) return;
    startUntitled();
    say("New untitled document");
}

void DocumentFiles::startUntitled() {
    Model fresh;
    fresh.createDefault();
    replace(std::move(fresh), "", "", true);
}

void DocumentFiles::open() {
    if (!mayDiscardChanges()) return;
    std::string path;
    if (!prompts_.chooseFile(false, path)) return; // the current document stays
    const std::string refusal = openFile(path, "it cannot be opened");
    if (!refusal.empty()) return tell(refusal);
    platform_.showWhole();
}

std::string DocumentFiles::openFile(const std::string& path, const std::string& unreadable) {
    return openOrImport(path, unreadable, false);
}

std::string DocumentFiles::openGiven(const std::string& path, const std::string& unreadable) {
    return openOrImport(path, unreadable, true);
}

std::string DocumentFiles::openOrImport(const std::string& path, const std::string& unreadable,
                                        bool importOthers) {
    std::string text;
    if (!readFileContents(path, text))
        return "Tavrel could not open the model \"" + path + "\": " + unreadable + ".";
    Model opened;
    ObjResult result = readObj(text, opened, nullptr);
    const bool nothingRead = opened.points.empty() && opened.patches.empty();
    if (!result.ok() || (result.partial() && nothingRead)) {
        // Not the editor's own: another program's model is imported when the file was given.
        if (importOthers) {
            Model imported;
            const ImportResult import = importPatches(text, imported);
            if (import.ok) {
                takeImport(path, import, std::move(imported));
                return "";
            }
            // An IGES, STEP or patch text file is not the editor's own at all: its reader says
            // what is wrong.
            if (isCadText(text) || import.format == "Bezier patch text" || import.refusedWhole)
                return "Tavrel could not import \"" + path + "\": " + import.reason +
                       ". Nothing was imported.";
        } else if (modelFileKind(text) == ModelFileKind::Standard) {
            return "\"" + path +
                   "\" is a standard free-form OBJ or Bezier patch text file, not Tavrel's own "
                   "format: Import (Ctrl+I) reads it.";
        }
    }
    if (!result.ok())
        return "Tavrel could not open the model \"" + path + "\": " + result.reason + ".";
    replace(std::move(opened), path, result.partial() ? result.stopMessage() : "", true);
    platform_.rememberPath(path);
    if (result.partial()) tellPartlyRead(path, result.stopMessage());
    say("Opened " + fileNameOf(path) + (result.partial() ? " in part: " : ": ") +
        countOf(document_.model().patches.size(), "patch", "patches"));
    return "";
}

void DocumentFiles::tell(const std::string& message) {
    say(message);
    prompts_.tell(message);
}

void DocumentFiles::tellPartlyRead(const std::string& path, const std::string& stop) {
    tell("Tavrel read only part of the model \"" + path + "\": " + stop +
         ". Saving asks before replacing the file.");
}

bool DocumentFiles::save() {
    platform_.settle();
    const std::string path = document_.path();
    if (path.empty()) return saveAs();
    if (!document_.partlyRead().empty()) {
        switch (prompts_.askPartlyRead(path, document_.partlyRead())) {
        case DocumentPrompts::PartlyRead::SaveElsewhere:
            return saveAs();
        case DocumentPrompts::PartlyRead::Replace:
            break;
        case DocumentPrompts::PartlyRead::Cancel:
            return false;
        }
    }
    return writeTo(path);
}

bool DocumentFiles::saveAs() {
    platform_.settle();
    std::string path = document_.path().empty() ? (documentName("") + ".obj") : document_.path();
    for (;;) {
        if (!prompts_.chooseFile(true, path)) return false;
        // The partly read file itself is not a place "elsewhere": ask again.
        if (document_.partlyRead().empty() || path != document_.path()) break;
        if (prompts_.askPartlyRead(path, document_.partlyRead()) ==
            DocumentPrompts::PartlyRead::Replace)
            break;
    }
    return writeTo(path);
}

bool DocumentFiles::writeTo(const std::string& path) {
    ObjResult result = saveObj(document_.model(), path);
    if (!result.ok()) {
        tell("Tavrel could not save the model to \"" + path + "\": " + result.reason + ".");
        return false;
    }
    document_.saved(path); // the recovery copy goes with the changes it kept
    platform_.rememberPath(path);
    say("Saved " + fileNameOf(path));
    return true;
}

bool DocumentFiles::import() {
    if (!mayDiscardChanges()) return false;
    std::string path;
    if (!prompts_.chooseImport(path)) return false; // the current document stays
    MappedFile file; // read in place: the file's bytes are not copied
    if (!file.open(path)) {
        tell("Tavrel could not import \"" + path + "\": it cannot be opened.");
        return false;
    }
    const std::string refusal = importText(path, file.text());
    if (refusal.empty()) {
        platform_.showWhole();
        return true;
    }
    tell(refusal);
    return false;
}

std::string DocumentFiles::importText(const std::string& path, std::string_view text) {
    Model imported;
    const ImportResult result = importPatches(text, imported);
    if (!result.ok)
        return "Tavrel could not import \"" + path + "\": " + result.reason +
               ". Nothing was imported.";
    takeImport(path, result, std::move(imported));
    return "";
}

void DocumentFiles::takeImport(const std::string& path, const ImportResult& result,
                               Model&& imported) {
    // Untitled: its first Save asks where, never over the imported file.
    replace(std::move(imported), "", "", false);
    if (result.partial()) tell("Tavrel read only part of \"" + path + "\": " + result.stop + ".");
    say("Imported " + fileNameOf(path) + (result.partial() ? " in part: " : ": ") +
        countOf(document_.model().patches.size(), "patch", "patches"));
    platform_.log("Tavrel imported " + result.format + ": " +
                  std::to_string(document_.model().patches.size()) + " patches, " +
                  std::to_string(result.skipped) + " statements skipped");
}

void DocumentFiles::exportSurfaces() {
    platform_.settle(); // the mesh is what the view shows
    std::string path;
    DocumentPrompts::ExportKind kind = DocumentPrompts::ExportKind::Mesh;
    if (!prompts_.chooseExport(path, kind)) return;
    const auto exact = cad::formatFor(path, kind == DocumentPrompts::ExportKind::Exact);
    const auto format = mesh::formatFor(path);
    if (!exact && !format) {
        tell("Tavrel could not export \"" + path +
             "\": the name must end in .obj, .stl, .igs, .iges, .stp or .step. Nothing "
             "was written.");
        return;
    }
    // An export written over a model destroys it: the document's own file, or any file that
    // reads as a model, is replaced only when the user says so.
    const bool ownFile = platform_.samePath(path, document_.path());
    std::string existing;
    if (ownFile || (readFileContents(path, existing) && readsAsModel(existing))) {
        const std::string question =
            "\"" + path + "\" " +
            (ownFile ? std::string("is the file of the model you are editing")
                     : std::string("holds a model")) +
            ".\n\nReplace it with " +
            (exact ? std::string("the exported surfaces") : std::string("a triangle mesh")) +
            "? The model in it would be lost.";
        if (!prompts_.askReplaceModel(question)) return;
    }
    std::string reason;
    if (exact) {
        size_t surfaces = 0;
        if (!cad::exportSurfaces(document_.model(), *exact, path, reason, &surfaces)) {
            tell("Tavrel could not export \"" + path + "\": " + reason + ". Nothing was written.");
            return;
        }
        platform_.log("Tavrel exported " + path + ": " + std::to_string(surfaces) + " surfaces");
        say("Exported " + fileNameOf(path) + ": " + countOf(surfaces, "surface", "surfaces"));
        return;
    }
    mesh::Written written;
    if (!mesh::exportModel(document_.model(), *format, mesh::kDefaultSegments, path, reason,
                           &written)) {
        tell("Tavrel could not export \"" + path + "\": " + reason + ". Nothing was written.");
        return;
    }
    platform_.log("Tavrel exported " + path + ": " + std::to_string(written.triangles) +
                  " triangles");
    say("Exported " + fileNameOf(path) + ": " +
        countOf(written.triangles, "triangle", "triangles"));
}

void DocumentFiles::replace(Model&& model, std::string path, std::string partlyRead, bool saved) {
    if (changesGivenUp_) platform_.discardRecovery();
    changesGivenUp_ = false;
    platform_.startClean();
    // The views make the shape window anew from the model (locators' names included), the
    // GPU copy, the picks, the title and the history buttons.
    document_.replace(std::move(model), std::move(path), std::move(partlyRead), saved);
}
