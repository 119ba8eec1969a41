// The surface-quality switches: the zebra stripes (on and off, their direction and their
// width) and the joins kept smooth while editing.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "editor/command-runs.h"
#include "editor/editor-state.h"
#include "graphics/zebra-stripes.h"

namespace {

// "zebra stripes on (U): 8 bands, turned 30°" — with the keys that change them.
CommandOutcome stripesSaid(const EditorState& editor) {
    if (!editor.zebra) return {true, "zebra stripes off (U)"};
    char text[160];
    std::snprintf(text, sizeof text,
                  "zebra stripes on (U): %d bands, turned %d\xB0 (Shift+U turns them, Ctrl+U "
                  "changes their width)",
                  static_cast<int>(editor.stripeBands), editor.stripeTurn * zebra::kTurnDegrees);
    return {true, text};
}

} // namespace

CommandOutcome switchZebraStripes(CommandContext& context) {
    EditorState& editor = context.editor;
    editor.zebra = !editor.zebra;
    context.host.rememberSetting("zebra", editor.zebra ? 1 : 0);
    // One colouring at a time: the one just asked for shows.
    if (editor.zebra && editor.curvature) {
        editor.curvature = false;
        context.host.rememberSetting("curvature", 0);
    }
    return stripesSaid(editor);
}

CommandOutcome switchKeepJoinsSmooth(CommandContext& context) {
    EditorState& editor = context.editor;
    editor.liveJoins = !editor.liveJoins;
    context.host.rememberSetting("livejoins", editor.liveJoins ? 1 : 0);
    return {true, editor.liveJoins ? "keeping joins smooth (Ctrl+T): rows across a smooth join "
                                     "move with the points dragged, typed or transformed"
                                   : "joins no longer kept smooth (Ctrl+T)"};
}

CommandOutcome turnStripes(CommandContext& context) {
    EditorState& editor = context.editor;
    if (!editor.zebra) return {false, "turn stripes: show the zebra stripes first (U)"};
    editor.stripeTurn = (editor.stripeTurn + 1) % zebra::kTurns;
    context.host.rememberSetting("stripeturn", editor.stripeTurn);
    return stripesSaid(editor);
}

CommandOutcome nextStripeWidth(CommandContext& context) {
    EditorState& editor = context.editor;
    if (!editor.zebra) return {false, "stripe width: show the zebra stripes first (U)"};
    const auto* first = std::begin(zebra::kBandSteps);
    const auto* end = std::end(zebra::kBandSteps);
    const auto* at = std::find(first, end, editor.stripeBands);
    editor.stripeBands = (at == end || at + 1 == end) ? *first : *(at + 1);
    context.host.rememberSetting("stripebands", static_cast<int>(editor.stripeBands));
    return stripesSaid(editor);
}
