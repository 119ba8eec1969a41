// The select tool, choosing points: a press on a chosen point drags every chosen point, the
// one under the mouse where a no-tool drag would take it and the others by as much. The
// release makes it one step, as a translate drag's.
#pragma once

#include <optional>

#include "core/vector-math.h"
#include "editor/editor-state.h"
#include "editor/picking.h"
#include "model/model.h"

// Notes the chosen points and where they are, holding point; false (nothing noted) when
// point is not chosen.
bool beginChosenPointsDrag(EditorState& editor, const Model& model, uint32_t point);
// How far the drag so far moves them: where the held point goes under the mouse (at its
// depth, on the grid when snapStep is given) less where it was at the press.
vm::Vec4 chosenPointsOffset(const EditorState& editor, const OrbitCamera& camera,
                            const ViewportHit& hit, const vm::Mat4& world,
                            std::optional<float> snapStep);
