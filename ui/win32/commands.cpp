#include "ui/win32/commands.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <optional>

#include "core/win32/input-timing.h"
#include "editor/command-table.h"
#include "editor/edit-session.h"
#include "editor/model-operations.h"
#include "editor/point-selection.h"
#include "editor/selection.h"
#include "ui/main-commands.h"
#include "ui/win32/gesture-ends.h"
#include "ui/win32/palette.h"
#include "ui/win32/status-bar.h"

namespace {

void setToolbarButton(HWND toolbar, MainCommand command, bool enabled) {
    if (toolbar)
        SendMessageA(toolbar, TB_ENABLEBUTTON, static_cast<WPARAM>(command),
                     MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

} // namespace

void markModified(Document& document) {
    document.changing();
}

void updateTakeBackButton(HWND mainToolbar, const EditorState& editor) {
    if (!mainToolbar) return;
    const bool usable = editor.tool == Tool::Add && !editor.pendingPoints.empty();
    SendMessageA(mainToolbar, TB_SETSTATE, static_cast<WPARAM>(MainCommand::TakeBack),
                 MAKELPARAM(usable ? TBSTATE_ENABLED : 0, 0));
}

bool editDocument(EditSession& session, const char* name,
                  const std::function<bool(Model&)>& change) {
    if (!session.state().modelReady) return false;
    finishGestures(session);
    bool changed = false;
    session.document().edit(name, [&](Model& model) { changed = change(model); });
    return changed;
}

bool dissociateCommand(EditSession& session, int point) {
    return editDocument(session, "Dissociate",
                        [point](Model& model) { return dissociatePoint(model, point); });
}

bool jointCommand(EditSession& session) {
    EditorState& editor = session.state();
    return editDocument(session, "Joint", [&editor](Model& model) {
        return jointPoints(model, editor.pendingPoints, editor.firstJointPoint,
                           editor.hoveredPoint);
    });
}

void updateHistoryButtons(HWND mainToolbar, const Document& document) {
    const History& history = document.history();
    setToolbarButton(mainToolbar, MainCommand::Undo, history.canUndo());
    setToolbarButton(mainToolbar, MainCommand::UndoBack, history.canUndo());
    setToolbarButton(mainToolbar, MainCommand::Redo, history.canRedo());
}

std::string toolbarTip(int command, const Document& document) {
    const std::optional<CommandId> id = tableCommand(static_cast<MainCommand>(command));
    return id ? tooltipText(::command(*id), document) : std::string();
}
