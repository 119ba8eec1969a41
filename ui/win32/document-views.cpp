#include "ui/win32/document-views.h"

#include <windows.h>

#include <commctrl.h>

#include "core/win32/Application.h"
#include "editor/selection.h"
#include "editor/win32/commands.h"
#include "ui/main-commands.h"
#include "ui/win32/palette.h"
#include "ui/win32/recovery.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

namespace {

using Kind = DocumentChange::Kind;

bool stepTaken(const DocumentChange& change) {
    return change.kind == Kind::Undo || change.kind == Kind::Redo;
}

// The GPU copy, the use counts and the picks after an undo, a redo or a new model (an edit
// keeps them itself as it goes: a drag updates only what it moved).
class ModelCopiesView : public DocumentView {
  public:
    void documentChanged(const Document&, const DocumentChange& change) override {
        if (!stepTaken(change) && change.kind != Kind::Replaced) return;
        Model& model = application.ship;
        // A step that only moved points sends those points; any other makes the copy anew.
        if (change.topologyChanged())
            model.rebuildBuffers();
        else
            model.updatePoints(change.step->points.at);
        rebuildUseCount(model, editorState.useCount);
        forgetPicks();
    }
};

// The tree and the point list: an undo or redo touches only the items of what it changed.
class ShapeWindowView : public DocumentView {
  public:
    void documentWillChange(const Document&, const ModelChange& step, bool undo) override {
        dropShapeItemsFor(step, undo);
    }
    void documentChanged(const Document&, const DocumentChange& change) override {
        switch (change.kind) {
        case Kind::Undo:
        case Kind::Redo:
            showUndoneChange(*change.step, change.kind == Kind::Undo);
            break;
        case Kind::Edit:
            refreshPointViews();
            break;
        case Kind::Replaced:
            resetShapeWindow();
            break;
        default:
            return;
        }
        refreshSelectionPanel(); // group and ungroup follow what the patches are in now
    }
};

// The title ("wing* - Tavrel"), the Save button, the history buttons and their tips, and the
// status bar's word when the history let old steps go.
class WindowChromeView : public DocumentView {
  public:
    void documentChanged(const Document& document, const DocumentChange& change) override {
        updateTitle(document.path(), document.modified());
        if (document.modified() && editorState.mainToolbar)
            SendMessageA(editorState.mainToolbar, TB_SETSTATE,
                         static_cast<WPARAM>(MainCommand::Save), MAKELPARAM(TBSTATE_ENABLED, 0));
        if (change.kind != Kind::Changing && change.kind != Kind::Saved) updateHistoryButtons();
        if (change.droppedSteps > 0)
            setStatusText(StatusPart::Message,
                          "Undo history full: the " + std::to_string(change.droppedSteps) +
                              " oldest step" + (change.droppedSteps == 1 ? " was" : "s were") +
                              " dropped");
    }
};

// The recovery copy is wanted only while the document holds work no file has: saved,
// undone back to the saved state, or given up, it goes.
class RecoveryCopyView : public DocumentView {
  public:
    void documentChanged(const Document& document, const DocumentChange& change) override {
        if (change.kind == Kind::Edit || change.kind == Kind::Changing) return;
        if (!document.modified()) discardRecoveryCopy();
    }
};

} // namespace

std::vector<std::unique_ptr<DocumentView>> makeDocumentViews(Document& document) {
    std::vector<std::unique_ptr<DocumentView>> views;
    views.push_back(std::make_unique<ModelCopiesView>());
    views.push_back(std::make_unique<ShapeWindowView>());
    views.push_back(std::make_unique<WindowChromeView>());
    views.push_back(std::make_unique<RecoveryCopyView>());
    for (const auto& view : views)
        document.addView(view.get());
    return views;
}
