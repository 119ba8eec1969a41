#include "editor/edit-session.h"

#include <algorithm>

#include "editor/box-selection.h"
#include "editor/edit-xform.h"
#include "editor/gesture-cancel.h"
#include "editor/model-history.h"
#include "editor/pending-points.h"
#include "editor/point-selection.h"

namespace {

// The sixteenth click of the add tool makes a patch.
constexpr size_t kClicksBeforePatch = 15;

} // namespace

void EditSession::addView(SessionView* view) {
    views_.push_back(view);
}

void EditSession::removeView(SessionView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void EditSession::clickPatch(int patch, ClickModifiers modifiers, const char* why) {
    selectPatch(document_.model(), patch, modifiers);
    selectionChanged(why);
}

void EditSession::clickGroup(int group, ClickModifiers modifiers) {
    selectGroup(document_.model(), group, modifiers);
    selectionChanged("tree");
}

void EditSession::clickPoint(int point, ClickModifiers modifiers, const char* why) {
    state_.chosenPoints.click(point, modifiers, model().points.size());
    selectionChanged(why);
}

void EditSession::choosePoints(const std::vector<uint32_t>& points, ClickModifiers modifiers,
                               const char* why) {
    state_.chosenPoints.choose(points, modifiers, model().points.size());
    selectionChanged(why);
}

void EditSession::selectPatchesInBox(const std::vector<uint32_t>& patches,
                                     ClickModifiers modifiers) {
    selectBox(document_.model(), patches, modifiers);
    selectionChanged("box");
}

bool EditSession::pressToSelect(int target, ClickModifiers modifiers, int x, int y) {
    const bool points = state_.choosingPoints;
    if (target >= 0 && !modifiers.shift) {
        state_.heldClick.reset();
        points ? clickPoint(target, modifiers) : clickPatch(target, modifiers);
        return false;
    }
    state_.heldClick = EditorState::HeldClick{target, points, modifiers, x, y};
    return true;
}

void EditSession::pointerDragged(int x, int y) {
    const auto& held = state_.heldClick;
    if (!held) return;
    const int dx = x - held->x, dy = y - held->y;
    if (dx * dx + dy * dy >= kClickTravel * kClickTravel) state_.heldClick.reset();
}

void EditSession::releaseHeldClick() {
    if (!state_.heldClick) return;
    const EditorState::HeldClick held = *state_.heldClick;
    state_.heldClick.reset();
    // P between the press and the release: the click meant the other kind.
    if (held.points != state_.choosingPoints) return;
    held.points ? clickPoint(held.target, held.modifiers) : clickPatch(held.target, held.modifiers);
}

void EditSession::selectionChanged(const char* why, bool remember) {
    state_.chosenPivot.reset();
    if (state_.tool == Tool::Rotate && !state_.transformDrag) {
        const std::vector<uint32_t> subject = transformSubject(state_, model());
        if (!subject.empty()) state_.pivot = centreOf(model(), subject);
        state_.pivot.w = 0;
    }
    if (state_.choosingPoints)
        state_.coordinates = {CoordinateSubject::Kind::Points, 0, state_.chosenPoints.indices()};
    const SelectionChange change{why, remember};
    for (SessionView* view : views_)
        view->selectionChanged(*this, change);
}

void EditSession::dragPoint(uint32_t point, vm::Float3 to) {
    const Model& m = model();
    if (point >= m.points.size()) return;
    if (state_.draggedPoint != static_cast<int>(point)) {
        finishPointDrag();
        state_.draggedPoint = static_cast<int>(point);
        state_.draggedFrom = m.points[point];
        if (state_.liveJoins) state_.joinFollowers.begin(m, {point});
    }
    document_.preview([&](Model& edited) {
        edited.points[point] = to;
        if (!state_.joinFollowers.active()) return std::vector<uint32_t>{point};
        return LiveJoins::together({point}, state_.joinFollowers.follow(edited, {point}));
    });
    state_.pointMoved = true;
}

void EditSession::commitTransform() {
    if (pointGestureUnderWay(state_)) {
        // The points moved as the mouse did: the gesture is the step.
        endPointGesture(state_);
        document_.endGesture(state_.tool == Tool::Rotate  ? "Rotate points"
                             : state_.tool == Tool::Scale ? "Scale points"
                                                          : "Move points");
    } else if (previewPending(state_)) {
        document_.edit(state_.tool == Tool::Rotate ? "Rotate" : "Translate",
                       [this](Model& edited) { applyPreview(state_, edited); });
    }
    state_.transformDrag = false;
    state_.translation = {};
    state_.scaleFactor = 1;
    if (state_.tool == Tool::Rotate) {
        state_.startAngle = -1.0f; // the next press measures from the mouse again
        state_.sweepAngle = 0;
    }
}

bool EditSession::finishPointDrag() {
    const int index = state_.draggedPoint;
    state_.draggedPoint = -1;
    if (index < 0 || static_cast<size_t>(index) >= model().points.size()) return false;
    // The point and those the joins moved with it, from where each was at the press.
    std::vector<uint32_t> points{static_cast<uint32_t>(index)};
    std::vector<vm::Float3> from{state_.draggedFrom};
    for (uint32_t p : state_.joinFollowers.placed()) {
        if (p == points.front()) continue;
        points.push_back(p);
        from.push_back(state_.joinFollowers.pressedAt(p));
    }
    state_.joinFollowers.clear();
    document_.record(pointMoves(model(), points, from, "Move point"));
    return true;
}

bool EditSession::finishOpacityGesture() {
    if (!document_.gestureUnderWay()) return false;
    document_.endGesture("Opacity");
    opacityCut_ = true;
    return true;
}

void EditSession::finishGestures() {
    commitTransform();
    finishPointDrag();
    finishOpacityGesture();
}

Cancelled EditSession::cancelGestures() {
    // One Escape gives up both: a drag under way and the add tool's clicks.
    bool dragged = cancelDrags(state_, document_);
    // What is left begun is the opacity slider's gesture: its thumb changes nothing more
    // until it is let go.
    if (document_.cancelGestureToStart()) dragged = opacityCut_ = true;
    const bool clicked = cancelPendingPoints(state_, document_, tree_);
    return dragged ? Cancelled::Drag : clicked ? Cancelled::PendingPoints : Cancelled::Nothing;
}

bool EditSession::addPoint(vm::Vec4 cursor) {
    if (state_.pendingPoints.size() == kClicksBeforePatch) {
        finishGestures();
        bool made = false;
        document_.edit("Add patch", [&](Model& edited) {
            made = addPendingPoint(state_.pendingPoints, edited, tree_, state_.hotPoint,
                                   state_.hoveredPoint, cursor);
        });
        return made;
    }
    if (!addPendingPoint(state_.pendingPoints, document_.model(), tree_, state_.hotPoint,
                         state_.hoveredPoint, cursor))
        document_.changing();
    return false;
}
