// Escape gives up the gesture under way: the model goes back exactly to what it was at the
// press, no step is recorded, and the document is as modified as it was before.
#pragma once

#include "editor/document.h"
#include "editor/editor-state.h"
#include "model/model-tree.h"

// A rotate, translate or scale drag (of some points or of the whole model), a no-tool point
// drag or a rubber band under way ends without its change. Returns whether one was.
bool cancelDrags(EditorState& editor, Document& document);
// The add tool's clicks made so far towards a patch are taken back with their tree items.
// Returns whether there were any.
bool cancelPendingPoints(EditorState& editor, Document& document, ModelTree& tree);
