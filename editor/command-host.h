// What a command needs beyond the document and the editor's state: the shell's windows,
// dialogs, camera, ship and clipboard, behind one interface (a fake serves the tests).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/command-ids.h"

class Document;
struct EditorState;

// What a command did, or why it did nothing: the status bar's text either way.
struct CommandOutcome {
    bool ran = false;
    std::string text;
    bool warn = false; // a refusal worth a beep (a split or a paste that could not be made)
};

// The patch under the mouse and where on it (a split cuts there).
struct PointerSpot {
    uint32_t patch = 0;
    float u = 0.5f, v = 0.5f;
};

class CommandHost {
  public:
    virtual ~CommandHost() = default;

    // The commands the table leaves to the shell (files, views, windows, tools, flight).
    virtual CommandOutcome run(CommandId id) = 0;
    // The shell's side of those commands' state: a reference picture to move, the ship away
    // from its start, the planet shown, the palette's toggles.
    virtual bool canRun(CommandId) const { return true; }
    virtual bool checked(CommandId) const { return false; }

    // A drag under way becomes its own step before a command changes the document.
    virtual void finishGestures() {}
    // The panels that follow the selection (the palette's buttons, the point list), the
    // report of it, and (remember) session.ini's SelectedPatches: Ctrl+A and P leave that as
    // it was, as they always have.
    virtual void selectionChanged(const char* /*why*/, bool /*remember*/ = true) {}
    // A display switch the session remembers (session.ini's Session section).
    virtual void rememberSetting(const char* /*key*/, int /*value*/) {}
    virtual bool putOnClipboard(const std::string& text) = 0;
    virtual std::optional<std::string> clipboardText() = 0;
    virtual std::optional<PointerSpot> patchUnderPointer() const { return std::nullopt; }
};

struct CommandContext {
    Document& document;
    EditorState& editor;
    CommandHost& host;
};
