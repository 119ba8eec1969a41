#include "ui/win32/recovery.h"

#include <windows.h>

#include <cstdio>

#include "core/file-replace.h"
#include "core/session-keys.h"
#include "core/win32/Application.h"
#include "core/win32/input-timing.h"
#include "editor/recovery-writer.h"
#include "editor/win32/commands.h"
#include "model/obj-format.h"
#include "ui/win32/document-commands.h"

namespace {

constexpr const char* kSection = "Recovery";

RecoveryWriter& writer() {
    static RecoveryWriter instance;
    return instance;
}

std::string now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[40];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    return text;
}

// Whose changes the copy holds and when it was taken, for the question at the next start.
void noteCopy() {
    sessionSettings().writeString(kSection, "File", editorState.loadedFile);
    sessionSettings().writeString(kSection, "Saved", now());
}

void reportFailure() {
    const std::string error = writer().lastError();
    if (!error.empty())
        OutputDebugStringA(
            ("Tavrel: the recovery copy could not be written: " + error + "\n").c_str());
}

} // namespace

std::string recoveryCopyPath() {
    const std::string& settings = sessionSettings().path();
    const size_t slash = settings.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : settings.substr(0, slash + 1)) +
           "recovery.obj";
}

void autosaveTick(double nowSeconds) {
    if (!editorState.currentEntity || !writer().due(nowSeconds, editorState.modified)) return;
    reportFailure(); // of the previous copy, now that it is done
    noteCopy();
    // What the frame waits for is the snapshot; the text and the disk are the worker's.
    const Stopwatch watch;
    Model snapshot = snapshotOf(editedModel());
    const double ms = watch.milliseconds();
    char line[120];
    std::snprintf(line, sizeof line, "Tavrel recovery copy: %zu patches taken in %.1f ms\n",
                  snapshot.patches.size(), ms);
    OutputDebugStringA(line);
    writer().start(std::move(snapshot), recoveryCopyPath(), nowSeconds);
}

void writeRecoveryCopyNow() {
    if (!editorState.currentEntity || !editorState.modified) return;
    noteCopy();
    writer().writeNow(editedModel(), recoveryCopyPath());
    reportFailure();
}

void discardRecoveryCopy() {
    writer().wait();
    writer().reset();
    removeFile(recoveryCopyPath());
}

void offerRecoveryCopy() {
    const std::string path = recoveryCopyPath();
    std::string text;
    if (!readFileContents(path, text)) return;
    const std::string file = sessionSettings().readString(kSection, "File", "", MAX_PATH);
    const std::string saved =
        sessionSettings().readString(kSection, "Saved", "an earlier session", 40);
    const std::string name = documentName(file);
    const std::string question = "Recover the unsaved changes of " + name + " from " + saved + "?";
    OutputDebugStringA(("Tavrel asks: " + question + "\n").c_str());
    if (!documentPrompts().askRecover(question)) {
        removeFile(path);
        return;
    }
    Model recovered;
    ObjResult result = readObj(text, recovered, nullptr);
    if (!result.ok()) {
        documentPrompts().tell("Tavrel could not read the recovery copy \"" + path +
                               "\": " + result.reason + ". It is left where it is.");
        return;
    }
    replaceDocument(std::move(recovered));
    editorState.loadedFile = file;     // its own file is replaced only when the user saves
    editorState.history.markUnsaved(); // the recovered work is in no file yet
    markModified();
    OutputDebugStringA(("Tavrel recovered: " + name + " from " + saved + "\n").c_str());
}
