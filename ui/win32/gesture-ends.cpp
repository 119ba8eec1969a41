#include "ui/win32/gesture-ends.h"

#include <windows.h>

#include <cstdio>

#include "editor/edit-session.h"
#include "editor/edit-xform.h"
#include "editor/editor-state.h"
#include "ui/win32/status-bar.h"

namespace {

// Where the view shows a point the drag moves (the first of the points dragged, else point
// 0) and its mirror image just before the drag is committed, for the debugger output (what
// the user saw, to compare with what is saved).
void reportPreview(const EditSession& session) {
    const Model& model = session.model();
    const EditorState& editor = session.state();
    const std::vector<uint32_t>& dragged = editor.pointGesture.points;
    const size_t index = dragged.empty() ? 0 : dragged.front();
    if (index >= model.points.size()) return;
    const vm::Float3 p = model.points[index];
    const vm::Vec4 shown =
        vm::transform({p.x, p.y, p.z, 1}, displayMatrix(editor, vm::identity(), false));
    const vm::Vec4 mirror =
        vm::transform({p.x, p.y, p.z, 1}, displayMatrix(editor, vm::identity(), true));
    char line[320];
    std::snprintf(
        line, sizeof line,
        "Tavrel %s committed: point %zu shown at %.6g %.6g %.6g, mirrored at %.6g %.6g %.6g; "
        "factor %.9g; pivot %.9g %.9g %.9g\n",
        editor.tool == Tool::Rotate  ? "rotate"
        : editor.tool == Tool::Scale ? "scale"
                                     : "translate",
        index, static_cast<double>(shown.x), static_cast<double>(shown.y),
        static_cast<double>(shown.z), static_cast<double>(mirror.x), static_cast<double>(mirror.y),
        static_cast<double>(mirror.z), static_cast<double>(editor.scaleFactor),
        static_cast<double>(editor.pivot.x), static_cast<double>(editor.pivot.y),
        static_cast<double>(editor.pivot.z));
    OutputDebugStringA(line);
}

// A rotate, translate or scale drag about to become its step is reported first.
void reportPendingPreview(const EditSession& session) {
    if (pointGestureUnderWay(session.state()) || previewPending(session.state()))
        reportPreview(session);
}

} // namespace

void commitPreview(EditSession& session) {
    if (!session.state().modelReady) return;
    reportPendingPreview(session);
    session.commitTransform();
}

void finishGestures(EditSession& session) {
    if (!session.state().modelReady) return;
    reportPendingPreview(session);
    session.finishGestures();
}

void finishPointDrag(EditSession& session) {
    if (session.state().modelReady) session.finishPointDrag();
}

bool cancelGestures(EditSession& session, HWND dragWindow) {
    if (!session.state().modelReady) return false;
    const Cancelled cancelled = session.cancelGestures();
    if (cancelled == Cancelled::Nothing) return false;
    const bool dragged = cancelled == Cancelled::Drag;
    // The release that follows finds nothing under way.
    if (GetCapture() == dragWindow) ReleaseCapture();
    setStatusText(StatusPart::Message, dragged ? "Drag cancelled" : "New patch's points dropped");
    OutputDebugStringA(dragged ? "Tavrel gesture cancelled: drag\n"
                               : "Tavrel gesture cancelled: add tool's points\n");
    return true;
}
