// The document: the model being edited, its undo history, the file it belongs to and what is
// known about that file. It is the one way to change the model: an edit (a named change that
// becomes one undoable step), a gesture's change shown before its step, undo, redo, a whole
// new model, a save. Views register with it and are told what changed; none of them needs
// to be called by the commands themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/model-history.h"
#include "model/model.h"

class Document;

// What a view is told.
struct DocumentChange {
    enum class Kind {
        Edit,     // a new step (step names it)
        Undo,     // step was undone: the model is as before it
        Redo,     // step was done again
        Changing, // a gesture changed the model; its step comes when it ends
        Replaced, // a whole new model (New, Open, Import, a recovered copy)
        Saved,    // written to path(); the model is unchanged
        Opened,   // the model filled before anything showed it (start-up), under path()
    };
    Kind kind = Kind::Edit;
    const ModelChange* step = nullptr; // Edit, Undo, Redo
    size_t droppedSteps = 0;           // Edit: the oldest steps the history's bounds let go
    // Edit: the step of a gesture whose points the copies of the model (the GPU's, the
    // lists) followed as it went; they need not take those points again.
    bool followedLive = false;
    // Whether the patch list, the groups or the locators changed (not only the points).
    bool topologyChanged() const;
};

class DocumentView {
  public:
    virtual ~DocumentView() = default;
    // Before an undo or redo applies step: what the view keeps of the patches it takes away
    // can still be found.
    virtual void documentWillChange(const Document&, const ModelChange& /*step*/, bool /*undo*/) {}
    // A gesture under way moved the points listed (and changed nothing else); told on every
    // step of it, so that copies of the points follow those alone.
    virtual void documentPreviewed(const Document&, const std::vector<uint32_t>& /*moved*/) {}
    virtual void documentChanged(const Document& document, const DocumentChange& change) = 0;
};

class Document {
  public:
    explicit Document(Model& model) : model_(model) {}
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    Model& model() { return model_; }
    const Model& model() const { return model_; }
    const History& history() const { return history_; }

    // The document's file, "" when untitled.
    const std::string& path() const { return path_; }
    // Where reading the document's file stopped when it was read only in part ("" when read
    // whole): its first save over that file asks first.
    const std::string& partlyRead() const { return partlyRead_; }
    // Changed since it was last written (or never written): the history is away from its
    // saved position, or a gesture under way changed the model.
    bool modified() const { return changing_ || !history_.atSaved(); }

    // The change makes one step called name (nothing when it changed nothing). Returns
    // whether a step was recorded.
    bool edit(const char* name, const std::function<void(Model&)>& change);
    // The step of a gesture worked out by the caller (a point drag's move), whose points
    // the views followed as it went.
    bool record(ModelChange step);
    // A gesture under way changed the model; the step follows with edit, record or
    // endGesture.
    void changing();
    // A gesture's step under way: change moves points of the model and returns which (with
    // repeats), the views follow them, and the step follows as with changing.
    void preview(const std::function<std::vector<uint32_t>(Model&)>& change);
    // A gesture whose change is found at its end (the opacity slider held): begin notes the
    // model, end records what changed since as one step called name. End without a begin
    // does nothing.
    void beginGesture();
    bool gestureUnderWay() const { return gestureStart_.has_value(); }
    bool endGesture(const char* name);
    // The gesture under way is given up (Escape): restore puts back what it changed and
    // returns which points (the views follow them), no step is recorded, and the document is
    // as modified as it was before the gesture.
    void cancelGesture(const std::function<std::vector<uint32_t>(Model&)>& restore);
    // The gesture begun with beginGesture given up whole (Escape while the opacity slider is
    // held): the model goes back to where begin noted it, as undoing what changed since would
    // take it, and no step is recorded. False when none was under way.
    bool cancelGestureToStart();

    // The step before (after) the current position, applied; false when there is none.
    bool undo();
    bool redo();

    // A whole new model: its path ("" untitled), what is known of its file, and whether it is
    // as that file holds it. The history starts empty.
    void replace(Model&& model, std::string path, std::string partlyRead, bool saved);
    // The model as it was filled before the views showed anything (at start-up), belonging to
    // path.
    void adopt(std::string path, std::string partlyRead, bool saved);
    // The model was written whole to path.
    void saved(std::string path);

    void addView(DocumentView* view);
    void removeView(DocumentView* view);

  private:
    bool takeStep(bool undo);
    bool recordStep(ModelChange step, bool followedLive);
    void tell(const DocumentChange& change);

    Model& model_;
    History history_;
    std::string path_, partlyRead_;
    bool changing_ = false;
    std::optional<ModelCopy> gestureStart_;
    std::vector<DocumentView*> views_;
};
