#include "editor/gesture-cancel.h"

#include <vector>

#include "editor/edit-xform.h"
#include "editor/pending-points.h"

namespace {

// The points of a rotate, translate or scale drag back where they were at the press.
bool cancelPointGesture(EditorState& editor, Document& document) {
    if (!pointGestureUnderWay(editor)) return false;
    document.cancelGesture([&](Model& model) {
        const EditorState::PointGesture& g = editor.pointGesture;
        for (size_t i = 0; i < g.points.size(); ++i)
            if (g.points[i] < model.points.size()) model.points[g.points[i]] = g.from[i];
        return LiveJoins::together(g.points, editor.joinFollowers.restore(model));
    });
    endPointGesture(editor);
    return true;
}

// The no-tool drag's point back where it was at the press.
bool cancelPointDrag(EditorState& editor, Document& document) {
    const int index = editor.draggedPoint;
    if (index < 0) return false;
    editor.draggedPoint = -1;
    document.cancelGesture([&](Model& model) {
        const auto point = static_cast<uint32_t>(index);
        if (point >= model.points.size()) return std::vector<uint32_t>{};
        model.points[point] = editor.draggedFrom;
        return LiveJoins::together({point}, editor.joinFollowers.restore(model));
    });
    editor.joinFollowers.clear();
    return true;
}

} // namespace

bool cancelDrags(EditorState& editor, Document& document) {
    const bool transform = editor.transformDrag;
    const bool points = cancelPointGesture(editor, document);
    const bool point = cancelPointDrag(editor, document);
    const bool band = editor.banding;
    // A whole-model drag shows its change only through the preview matrix: dropping it
    // leaves the points as they are.
    editor.transformDrag = false;
    editor.translation = {};
    editor.scaleFactor = 1;
    if (transform && editor.tool == Tool::Rotate) {
        editor.startAngle = -1.0f; // the next press measures from the mouse again
        editor.sweepAngle = 0;
    }
    editor.banding = false;
    const bool held = editor.heldClick.has_value();
    editor.heldClick.reset();
    const bool cancelled = transform || points || point || band || held;
    if (cancelled) editor.leftDragCancelled = true;
    return cancelled;
}

bool cancelPendingPoints(EditorState& editor, Document& document, ModelTree& tree) {
    if (editor.pendingPoints.empty()) return false;
    while (removeLastPendingPoint(editor.pendingPoints, tree)) {
    }
    // The clicks showed the document modified; without them it is as its history says.
    document.cancelGesture([](Model&) { return std::vector<uint32_t>{}; });
    return true;
}
