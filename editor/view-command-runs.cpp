#include <cstdio>

#include "editor/command-runs.h"
#include "editor/document.h"
#include "editor/editor-state.h"
#include "editor/join-angles.h"

CommandOutcome switchShaded(CommandContext& context) {
    EditorState& editor = context.editor;
    editor.shaded = !editor.shaded;
    context.host.rememberSetting("shaded", editor.shaded ? 1 : 0);
    return {true, ""};
}

CommandOutcome switchJoinsDisplay(CommandContext& context) {
    EditorState& editor = context.editor;
    editor.showJoins = !editor.showJoins;
    context.host.rememberSetting("joins", editor.showJoins ? 1 : 0);
    if (!editor.showJoins) return {true, "joins display off (G)"};
    const JoinSummary joins = selectedJoins(context.document.model());
    if (joins.edges == 0) return {true, "joins shown (G): select patches for their angles"};
    char text[160];
    std::snprintf(text, sizeof text, "joins of the selection: %zu, largest angle %.2f\xB0",
                  joins.edges, static_cast<double>(joins.largest));
    return {true, text};
}

CommandOutcome pivotAtPoint(CommandContext& context) {
    EditorState& editor = context.editor;
    const Model& model = context.document.model();
    if (!editor.hotPoint || editor.hoveredPoint < 0 ||
        static_cast<size_t>(editor.hoveredPoint) >= model.points.size())
        return {false, "V: put the mouse on a point to turn about it"};
    const vm::Float3 p = model.points[static_cast<size_t>(editor.hoveredPoint)];
    editor.chosenPivot = vm::Vec4{p.x, p.y, p.z, 1};
    editor.pivot = {p.x, p.y, p.z, 0};
    return {true, "pivot at point " + std::to_string(editor.hoveredPoint)};
}
