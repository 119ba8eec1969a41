// The edit session: what the user is doing to the document beyond its data. It holds the
// tool and the gestures under way (the editor's state), changes the selection and tells its
// views, moves points while a drag is under way through the document's preview and makes
// the drag one step at its end, and collects the add tool's clicks. It needs no window: the
// shell's views follow it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/selection.h"
#include "model/model-tree.h"

class EditSession;

// What a view is told when the selected patches or the chosen points changed.
struct SelectionChange {
    const char* why = ""; // "click", "box", "tree", "list", a command's name
    // session.ini's SelectedPatches follows (Ctrl+A and P leave it as it was).
    bool remember = true;
};

class SessionView {
  public:
    virtual ~SessionView() = default;
    virtual void selectionChanged(const EditSession& session, const SelectionChange& change) = 0;
};

// What Escape gave up.
enum class Cancelled { Nothing, Drag, PendingPoints };

class EditSession {
  public:
    EditSession(Document& document, EditorState& state, ModelTree& tree)
        : document_(document), state_(state), tree_(tree) {}
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    Document& document() { return document_; }
    const Document& document() const { return document_; }
    EditorState& state() { return state_; }
    const EditorState& state() const { return state_; }
    const Model& model() const { return document_.model(); }

    void addView(SessionView* view);
    void removeView(SessionView* view);

    // The selection. A click on a patch (-1: empty space) or on a point, a rubber band's
    // patches or points, a group chosen in the tree: each tells the views.
    void clickPatch(int patch, ClickModifiers modifiers, const char* why = "click");
    void clickGroup(int group, ClickModifiers modifiers);
    void clickPoint(int point, ClickModifiers modifiers, const char* why = "click");
    void choosePoints(const std::vector<uint32_t>& points, ClickModifiers modifiers,
                      const char* why);
    void selectPatchesInBox(const std::vector<uint32_t>& patches, ClickModifiers modifiers);
    // The select tool's press on a patch or point (target; -1: empty space) at (x, y) pixels:
    // a plain or Control click counts at once; one on empty space or with Shift is held
    // until the release, given up when the pointer travels further than a click does (a
    // band or an orbit) or on Escape. Returns whether it was held.
    bool pressToSelect(int target, ClickModifiers modifiers, int x, int y);
    void pointerDragged(int x, int y);
    // The release: a click still held counts now.
    void releaseHeldClick();
    static constexpr int kClickTravel = 4; // pixels: further is a drag
    // Whatever changed the selection tells the views through here: a new selection turns
    // about its own centre (the rotate tool's pivot moves there), and the coordinate boxes
    // show the chosen points when points are chosen.
    void selectionChanged(const char* why, bool remember = true);

    // The no-tool drag of one point: the point moves (its patches alone are evaluated again)
    // and the views follow; the drag's step is made when it ends.
    void dragPoint(uint32_t point, vm::Float3 to);
    // The rotate, translate and scale tools' drag becomes its step.
    void commitTransform();
    // The drag of one point becomes its step ("Move point"); false when none was under way.
    bool finishPointDrag();
    // The opacity slider's gesture becomes its step; false when none was under way. Ended
    // so while the slider's thumb is still held, the rest of that gesture changes nothing
    // until the thumb is let go.
    bool finishOpacityGesture();
    bool opacityGestureCut() const { return opacityCut_; }
    void opacityThumbReleased() { opacityCut_ = false; }
    // Every gesture under way becomes its step, before a command changes the document.
    void finishGestures();
    // Escape: a drag under way goes back to where it started, else the add tool's clicks
    // towards a patch are taken back.
    Cancelled cancelGestures();

    // The add tool's click at cursor (or on the hot point): the sixteenth makes the patch,
    // one undoable step ("Add patch"; returns true); the clicks before it are work the
    // document does not hold yet, so it shows modified.
    bool addPoint(vm::Vec4 cursor);

  private:
    Document& document_;
    EditorState& state_;
    ModelTree& tree_;
    std::vector<SessionView*> views_;
    bool opacityCut_ = false;
};
