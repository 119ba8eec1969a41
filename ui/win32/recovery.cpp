#include "ui/win32/recovery.h"

#include <windows.h>

#include <cstdio>
#include <new>
#include <optional>
#include <vector>

#include "core/file-replace.h"
#include "core/win32/input-timing.h"
#include "editor/document-files.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/recovery-copies.h"
#include "editor/recovery-writer.h"
#include "model/obj-format.h"
#include "ui/win32/session-settings.h"
#include "ui/win32/status-bar.h"

namespace {

std::optional<RecoveryParts> parts;

RecoveryWriter& writer() {
    return parts->copy.writer;
}

RecoveryCopy& own() {
    return parts->copy;
}

const Document& document() {
    return parts->document;
}

std::string folder() {
    return recovery::folderBeside(sessionSettings().path());
}

std::string pathOf(const std::string& stem, const char* extension) {
    return folder() + stem + extension;
}

std::string stamp(const char* format) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[40];
    std::snprintf(text, sizeof text, format, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond);
    return text;
}

// The lock of a copy, opened for this process alone; INVALID_HANDLE_VALUE while another
// editor holds it. It goes with the last handle, so a killed owner leaves none behind.
HANDLE takeLock(const std::string& stem) {
    return CreateFileA(pathOf(stem, recovery::kLockExtension).c_str(), GENERIC_READ | GENERIC_WRITE,
                       0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE,
                       nullptr);
}

// Whose changes the copy holds, when it was taken and where reading its file stopped.
void noteCopy() {
    recovery::writeNote(
        pathOf(own().stem, recovery::kNoteExtension),
        {document().path(), stamp("%04u-%02u-%02u %02u:%02u:%02u"), document().partlyRead()});
}

// A failed copy is said once in the status bar until a copy succeeds again.
void reportFailure() {
    bool& told = own().failureTold;
    const std::string error = writer().lastError();
    if (error.empty()) {
        told = false;
        return;
    }
    OutputDebugStringA(("Tavrel: the recovery copy could not be written: " + error + "\n").c_str());
    if (told) return;
    told = true;
    setStatusText(StatusPart::Message, "The recovery copy could not be written: " + error);
}

void removeCopy(const std::string& stem) {
    removeFile(pathOf(stem, recovery::kCopyExtension));
    removeFile(pathOf(stem, recovery::kNoteExtension));
}

std::vector<std::string> folderFileNames() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search =
        FindFirstFileA((folder() + "*" + recovery::kCopyExtension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Offers the copy of stem, whose lock this editor now holds; true when it was taken.
bool offer(const std::string& stem, HANDLE lock, DocumentFiles& files,
           const DocumentPrompts& prompts) {
    const std::string path = pathOf(stem, recovery::kCopyExtension);
    std::string text;
    if (!readFileContents(path, text)) return false;
    const recovery::Note note = recovery::readNote(pathOf(stem, recovery::kNoteExtension));
    Model recovered;
    const ObjResult result = readObj(text, recovered, nullptr);
    if (!result.ok()) {
        prompts.tell("Tavrel could not read the recovery copy \"" + path + "\": " + result.reason +
                     ". It is left where it is.");
        return false;
    }
    const std::string name = documentName(note.file);
    std::string question = "Recover the unsaved changes of " + name + " from " + note.saved + "?";
    if (result.partial())
        question += "\n\nThe copy itself could be read only in part (" + result.stopMessage() +
                    "): what follows the stop is not recovered.";
    // The model open now (the file the editor was started with, or the session's) gives way
    // to the recovered one: the question says so, and its own unsaved changes are asked about.
    const Document& current = document();
    if (!current.path().empty() || current.modified())
        question += "\n\n" +
                    (current.path().empty() ? std::string("The untitled model")
                                            : documentName(current.path())) +
                    ", open now, is closed" +
                    (current.modified() ? " (its unsaved changes are asked about first)."
                                        : "; its file stays as it is.");
    OutputDebugStringA(("Tavrel asks: " + question + "\n").c_str());
    if (!prompts.askRecover(question)) {
        removeCopy(stem);
        return false;
    }
    if (!files.mayDiscardChanges()) {
        prompts.tell("The recovery copy \"" + path +
                     "\" is kept: it is offered again at the "
                     "next start.");
        return false;
    }
    // Under its own file (replaced only when the user saves), with that file's partly-read
    // state (its first Save still asks), and modified: the work is in no file yet.
    files.replace(std::move(recovered), note.file, note.partlyRead, false);
    // The copy is this editor's own from now on: it stays until the work is saved or dropped.
    CloseHandle(own().lock);
    own().stem = stem;
    own().lock = lock;
    OutputDebugStringA(("Tavrel recovered: " + name + " from " + note.saved + "\n").c_str());
    return true;
}

} // namespace

void connectRecovery(const RecoveryParts& given) {
    parts.emplace(given);
}

void claimRecoveryCopy() {
    if (own().lock != INVALID_HANDLE_VALUE) return;
    CreateDirectoryA(folder().c_str(), nullptr);
    own().stem = recovery::copyStem(GetCurrentProcessId(), stamp("%04u%02u%02u%02u%02u%02u"));
    own().lock = takeLock(own().stem);
}

std::string recoveryCopyPath() {
    if (own().stem.empty()) claimRecoveryCopy();
    return pathOf(own().stem, recovery::kCopyExtension);
}

void autosaveTick(double nowSeconds) {
    if (!parts || !parts->editor.modelReady || !writer().due(nowSeconds, document().modified()))
        return;
    reportFailure(); // of the previous copy, now that it is done
    try {
        // What the frame waits for is the snapshot; the text and the disk are the worker's.
        const Stopwatch watch;
        Model snapshot = snapshotOf(document().model());
        const double ms = watch.milliseconds();
        char line[120];
        std::snprintf(line, sizeof line, "Tavrel recovery copy: %zu patches taken in %.1f ms\n",
                      snapshot.patches.size(), ms);
        OutputDebugStringA(line);
        const std::string path = recoveryCopyPath();
        noteCopy();
        writer().start(std::move(snapshot), path, nowSeconds);
    } catch (const std::bad_alloc&) {
        writer().fail("not enough memory for the copy", nowSeconds);
        reportFailure();
    }
}

void writeRecoveryCopyNow() {
    if (!parts || !parts->editor.modelReady || !document().modified()) return;
    const std::string path = recoveryCopyPath();
    noteCopy();
    writer().writeNow(document().model(), path);
    if (!writer().onWorkerThread()) reportFailure();
}

void discardRecoveryCopy() {
    if (!parts) return;
    writer().abandon();
    writer().reset();
    removeCopy(own().stem);
}

void offerRecoveryCopy(DocumentFiles& files, const DocumentPrompts& prompts) {
    for (const std::string& stem : recovery::copyStems(folderFileNames())) {
        if (stem == own().stem) continue;
        const HANDLE lock = takeLock(stem);
        if (lock == INVALID_HANDLE_VALUE) continue; // its editor is still running
        if (offer(stem, lock, files, prompts)) return;
        CloseHandle(lock);
    }
}
