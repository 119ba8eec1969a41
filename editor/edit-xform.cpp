#include "editor/edit-xform.h"

vm::Mat4 displayMatrix(const EditorState& editor, const vm::Mat4& base, bool mirror) {
    vm::Mat4 m = mirror ? vm::scaling(-1, 1, 1) : vm::identity();
    if (editor.tool == tools::kRotate) {
        // Turned about the vertical axis through the pivot.
        const float theta = editor.startAngle > 0 ? -editor.sweepAngle : 0.0f;
        m = m * vm::translation(-editor.pivot) * vm::rotationY(theta) * vm::translation(editor.pivot);
    } else if (editor.tool == tools::kTranslate) {
        m = m * vm::translation(editor.pivot);
    }
    return m * base;
}
