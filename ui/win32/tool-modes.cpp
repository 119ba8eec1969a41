#include "ui/win32/tool-modes.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "core/session-keys.h"
#include "editor/edit-xform.h"
#include "editor/selection.h"
#include "ui/palette-buttons.h"
#include "ui/win32/commands.h"
#include "ui/win32/records.h"
#include "ui/win32/shape-window.h"

namespace {

// Where the view shows a point the drag moves (the first of the points dragged, else point
// 0) and its mirror image just before the drag is committed, for the debugger output (what
// the user saw, to compare with what is saved).
void reportPreview(const Model& model) {
    const std::vector<uint32_t>& dragged = editorState.pointGesture.points;
    const size_t index = dragged.empty() ? 0 : dragged.front();
    if (index >= model.points.size()) return;
    const vm::Float3 p = model.points[index];
    const vm::Vec4 shown =
        vm::transform({p.x, p.y, p.z, 1}, displayMatrix(editorState, vm::identity(), false));
    const vm::Vec4 mirror =
        vm::transform({p.x, p.y, p.z, 1}, displayMatrix(editorState, vm::identity(), true));
    char line[320];
    std::snprintf(
        line, sizeof line,
        "Tavrel %s committed: point %zu shown at %.6g %.6g %.6g, mirrored at %.6g %.6g %.6g; "
        "factor %.9g; pivot %.9g %.9g %.9g\n",
        editorState.tool == Tool::Rotate  ? "rotate"
        : editorState.tool == Tool::Scale ? "scale"
                                          : "translate",
        index, static_cast<double>(shown.x), static_cast<double>(shown.y),
        static_cast<double>(shown.z), static_cast<double>(mirror.x), static_cast<double>(mirror.y),
        static_cast<double>(mirror.z), static_cast<double>(editorState.scaleFactor),
        static_cast<double>(editorState.pivot.x), static_cast<double>(editorState.pivot.y),
        static_cast<double>(editorState.pivot.z));
    OutputDebugStringA(line);
}

} // namespace

void setTool(Tool tool) {
    finishGestures();
    const Tool current = editorState.tool;
    const int button = palette::toolButton(current);
    const BYTE released = (current == Tool::Select || current == Tool::Translate)
                              ? TBSTATE_ENABLED | TBSTATE_WRAP
                              : TBSTATE_ENABLED;
    if (application.palette.toolbar && button >= 0)
        PostMessageA(application.palette.toolbar, TB_SETSTATE, static_cast<WPARAM>(button),
                     MAKELPARAM(released, 0));
    editorState.sweepAngle = 0;
    editorState.pivot = {};
    editorState.translation = {};
    editorState.scaleFactor = 1;
    // A point left hot by the last tool would drive dissociate, joint and the guides here.
    editorState.hoveredPoint = -1;
    editorState.hotPoint = false;
    editorState.handleHot = false;
    if (tool == current) tool = Tool::None;
    editorState.tool = tool;
    sessionSettings().writeInt(session::kSession, "Tool", static_cast<int>(tool));
    updateTakeBackButton();
}

void startRotate() {
    setTool(Tool::Rotate);
    vm::Vec4 min, max;
    editorState.pivot =
        selectionBounds(*editorState.currentEntity, min, max) ? (min + max) * 0.5f : vm::Vec4{};
    editorState.pivot.w = 0;
    editorState.sweepAngle = 1.0f;
    editorState.startAngle = -1.0f;
}

void commitPreview() {
    if (!editorState.currentEntity) return;
    if (pointGestureUnderWay(editorState)) {
        // The points moved as the mouse did: the gesture is the step.
        reportPreview(editedModel());
        endPointGesture(editorState);
        document().endGesture(editorState.tool == Tool::Rotate  ? "Rotate points"
                              : editorState.tool == Tool::Scale ? "Scale points"
                                                                : "Move points");
    } else if (previewPending(editorState)) {
        Model& model = editedModel();
        reportPreview(model);
        document().edit(editorState.tool == Tool::Rotate ? "Rotate" : "Translate",
                        [](Model& edited) { applyPreview(editorState, edited); });
    }
    editorState.transformDrag = false;
    editorState.translation = {};
    editorState.scaleFactor = 1;
    if (editorState.tool == Tool::Rotate) {
        editorState.startAngle = -1.0f; // the next press measures from the mouse again
        editorState.sweepAngle = 0;
    }
}

void finishGestures() {
    commitPreview();
    finishPointDrag();
    finishOpacityGesture();
}
