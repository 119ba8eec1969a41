// The curvature display's commands: on and off, and which curvature it colours. The scale
// is fitted when either runs and held until the next, so an edit's effect shows against the
// scale it started from.
#include <string>

#include "editor/command-runs.h"
#include "editor/curvature-scale.h"
#include "editor/document.h"
#include "editor/editor-state.h"

namespace {

CommandOutcome curvatureSaid(const EditorState& editor) {
    if (!editor.curvature) return {true, "curvature off (C)"};
    const bool mean = editor.curvatureKind == curvature::Kind::Mean;
    return {true, "curvature on (C): " + scaleText(editor.curvatureKind, *editor.curvatureScale) +
                      (mean ? "; Shift+C shows the Gaussian" : "; Shift+C shows the mean")};
}

void fitScale(CommandContext& context) {
    context.editor.curvatureScale =
        fittedScale(context.document.model(), context.editor.curvatureKind);
}

} // namespace

CommandOutcome switchCurvatureDisplay(CommandContext& context) {
    EditorState& editor = context.editor;
    editor.curvature = !editor.curvature;
    context.host.rememberSetting("curvature", editor.curvature ? 1 : 0);
    if (editor.curvature) {
        fitScale(context);
        // One colouring at a time: the one just asked for shows.
        if (editor.zebra) {
            editor.zebra = false;
            context.host.rememberSetting("zebra", 0);
        }
    }
    return curvatureSaid(editor);
}

CommandOutcome switchCurvatureKind(CommandContext& context) {
    EditorState& editor = context.editor;
    if (!editor.curvature) return {false, "Gaussian or mean: show the curvature first (C)"};
    editor.curvatureKind = editor.curvatureKind == curvature::Kind::Mean ? curvature::Kind::Gaussian
                                                                         : curvature::Kind::Mean;
    context.host.rememberSetting("curvaturekind", static_cast<int>(editor.curvatureKind));
    fitScale(context);
    return curvatureSaid(editor);
}
