#include "editor/document.h"

#include <algorithm>

bool DocumentChange::topologyChanged() const {
    if (kind == Kind::Replaced || kind == Kind::Opened) return true;
    if (!step) return false;
    return !step->patches.empty() || step->groupsChanged || step->locatorsChanged ||
           step->points.sizeBefore != step->points.sizeAfter;
}

bool Document::edit(const char* name, const std::function<void(Model&)>& change) {
    const ModelCopy before = copyOf(model_);
    change(model_);
    return recordStep(changeBetween(before, model_, name), false);
}

bool Document::record(ModelChange step) {
    return recordStep(std::move(step), true);
}

bool Document::recordStep(ModelChange step, bool followedLive) {
    const bool wasChanging = changing_;
    changing_ = false;
    if (step.empty()) {
        // A gesture that came back to where it started: nothing to keep, nothing modified.
        if (wasChanging) tell({DocumentChange::Kind::Changing, nullptr, 0});
        return false;
    }
    const size_t dropped = history_.record(std::move(step));
    tell({DocumentChange::Kind::Edit, history_.nextUndo(), dropped, followedLive});
    return true;
}

void Document::changing() {
    // Every step of a drag says so; the views hear only when the document turns modified.
    const bool was = modified();
    changing_ = true;
    if (!was) tell({DocumentChange::Kind::Changing, nullptr, 0});
}

void Document::preview(const std::function<std::vector<uint32_t>(Model&)>& change) {
    const std::vector<uint32_t> moved = change(model_);
    for (DocumentView* view : views_)
        view->documentPreviewed(*this, moved);
    changing();
}

void Document::beginGesture() {
    if (!gestureStart_) gestureStart_ = copyOf(model_);
}

bool Document::endGesture(const char* name) {
    if (!gestureStart_) return false;
    const ModelCopy before = std::move(*gestureStart_);
    gestureStart_.reset();
    return recordStep(changeBetween(before, model_, name), true);
}

void Document::cancelGesture(const std::function<std::vector<uint32_t>(Model&)>& restore) {
    const std::vector<uint32_t> moved = restore(model_);
    if (!moved.empty())
        for (DocumentView* view : views_)
            view->documentPreviewed(*this, moved);
    gestureStart_.reset();
    const bool wasChanging = changing_;
    changing_ = false;
    if (wasChanging) tell({DocumentChange::Kind::Changing, nullptr, 0});
}

bool Document::cancelGestureToStart() {
    if (!gestureStart_) return false;
    const ModelChange change = changeBetween(*gestureStart_, model_, "");
    gestureStart_.reset();
    const bool wasChanging = changing_;
    changing_ = false;
    if (!change.empty()) {
        for (DocumentView* view : views_)
            view->documentWillChange(*this, change, true);
        undoChange(change, model_);
        tell({DocumentChange::Kind::Undo, &change, 0});
    } else if (wasChanging) {
        tell({DocumentChange::Kind::Changing, nullptr, 0});
    }
    return true;
}

bool Document::undo() {
    return takeStep(true);
}

bool Document::redo() {
    return takeStep(false);
}

bool Document::takeStep(bool undo) {
    const ModelChange* step = undo ? history_.nextUndo() : history_.nextRedo();
    if (!step) return false;
    changing_ = false;
    for (DocumentView* view : views_)
        view->documentWillChange(*this, *step, undo);
    if (undo)
        history_.undo(model_);
    else
        history_.redo(model_);
    tell({undo ? DocumentChange::Kind::Undo : DocumentChange::Kind::Redo, step, 0});
    return true;
}

void Document::replace(Model&& model, std::string path, std::string partlyRead, bool saved) {
    model_.points = std::move(model.points);
    model_.patches = std::move(model.patches);
    model_.groups = std::move(model.groups);
    model_.locators = std::move(model.locators);
    changing_ = false;
    gestureStart_.reset();
    history_.clear();
    if (!saved) history_.markUnsaved();
    path_ = std::move(path);
    partlyRead_ = std::move(partlyRead);
    tell({DocumentChange::Kind::Replaced, nullptr, 0});
}

void Document::adopt(std::string path, std::string partlyRead, bool saved) {
    changing_ = false;
    path_ = std::move(path);
    partlyRead_ = std::move(partlyRead);
    if (saved)
        history_.markSaved();
    else
        history_.markUnsaved();
    tell({DocumentChange::Kind::Opened, nullptr, 0});
}

void Document::saved(std::string path) {
    changing_ = false;
    path_ = std::move(path);
    partlyRead_.clear();
    history_.markSaved();
    tell({DocumentChange::Kind::Saved, nullptr, 0});
}

void Document::addView(DocumentView* view) {
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

void Document::removeView(DocumentView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void Document::tell(const DocumentChange& change) {
    for (DocumentView* view : views_)
        view->documentChanged(*this, change);
}
