#include "ui/win32/document-views.h"

#include <windows.h>

#include <commctrl.h>

#include "core/win32/input-timing.h"
#include "editor/gpu-copy-view.h"
#include "editor/selection.h"
#include "graphics/gpu-model-copy.h"
#include "ui/main-commands.h"
#include "ui/win32/commands.h"
#include "ui/win32/main-window-handles.h"
#include "ui/win32/palette.h"
#include "ui/win32/recovery.h"
#include "ui/win32/shape-window.h"
#include "ui/win32/status-bar.h"

namespace {

using Kind = DocumentChange::Kind;

// The title from the document's path and its modified mark, on the main window.
void updateTitle(EditorState& editor, HWND mainWindow, const std::string& path, bool modified) {
    editor.makeTitle(path, modified);
    if (mainWindow)
        SendMessageA(mainWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(editor.title.c_str()));
}

// The use counts and the picks follow every step (start-up makes them itself).
class ModelCopiesView : public DocumentView {
  public:
    explicit ModelCopiesView(const DocumentViewParts& parts) : p_(parts) {}
    void documentChanged(const Document& document, const DocumentChange& change) override {
        if (change.kind == Kind::Changing || change.kind == Kind::Saved ||
            change.kind == Kind::Opened)
            return;
        if (change.topologyChanged()) {
            rebuildUseCount(document.model(), p_.editor.useCount);
            p_.timing.phase("buffers");
        }
        const ModelChange* step = change.step;
        if (!step || step->points.sizeBefore != step->points.sizeAfter ||
            step->patches.sizeBefore != step->patches.sizeAfter) {
            p_.editor.forgetPicks(document.model().points.size()); // a pick may name what went
            p_.palette.updateJointButton();
        } else if (change.kind != Kind::Edit)
            p_.editor.forgetHover();
    }

  private:
    const DocumentViewParts p_;
};

// The title ("wing* - Tavrel"), the Save button, the history buttons and their tips, and the
// status bar's word when the history let old steps go.
class WindowChromeView : public DocumentView {
  public:
    WindowChromeView(EditorState& editor, const MainWindowHandles& main)
        : editor_(editor), main_(main) {}
    void documentChanged(const Document& document, const DocumentChange& change) override {
        updateTitle(editor_, main_.window, document.path(), document.modified());
        if (document.modified() && main_.toolbar)
            SendMessageA(main_.toolbar, TB_SETSTATE, static_cast<WPARAM>(MainCommand::Save),
                         MAKELPARAM(TBSTATE_ENABLED, 0));
        if (change.kind != Kind::Changing && change.kind != Kind::Saved &&
            change.kind != Kind::Opened)
            updateHistoryButtons(main_.toolbar, document);
        if (change.droppedSteps > 0)
            setStatusText(StatusPart::Message,
                          "Undo history full: the " + std::to_string(change.droppedSteps) +
                              " oldest step" + (change.droppedSteps == 1 ? " was" : "s were") +
                              " dropped");
    }

  private:
    EditorState& editor_;
    const MainWindowHandles& main_;
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

// The palette's selection buttons (and, when remembered, session.ini's SelectedPatches), the
// shape window's marks and coordinates, and the status bar's summary.
class SelectionFollowers : public SessionView {
  public:
    SelectionFollowers(ShapeWindow& shapeWindow, Palette& palette)
        : shapeWindow_(shapeWindow), palette_(palette) {}
    void selectionChanged(const EditSession&, const SelectionChange& change) override {
        if (change.remember)
            palette_.refreshSelection();
        else
            palette_.updateSelectionButtons();
        shapeWindow_.showSelection(change.why);
    }

  private:
    ShapeWindow& shapeWindow_;
    Palette& palette_;
};

} // namespace

std::unique_ptr<SessionView> makeSelectionView(EditSession& session, ShapeWindow& shapeWindow,
                                               Palette& palette) {
    auto view = std::make_unique<SelectionFollowers>(shapeWindow, palette);
    session.addView(view.get());
    return view;
}

std::vector<std::unique_ptr<DocumentView>> makeDocumentViews(Document& document,
                                                             const DocumentViewParts& parts) {
    std::vector<std::unique_ptr<DocumentView>> views;
    views.push_back(std::make_unique<GpuCopyView>(parts.copy));
    views.push_back(std::make_unique<ModelCopiesView>(parts));
    views.push_back(parts.shapeWindow.makeView());
    views.push_back(std::make_unique<WindowChromeView>(parts.editor, parts.main));
    views.push_back(std::make_unique<RecoveryCopyView>());
    for (const auto& view : views)
        document.addView(view.get());
    return views;
}
