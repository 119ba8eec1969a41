// Where the keyboard opens the view's context menu: over what its commands act on, as a
// right click would, rather than at a fixed place.
#pragma once

#include <optional>

#include "core/vector-math.h"
#include "editor/picking.h"
#include "editor/point-selection.h"
#include "model/model.h"

// The middle of the chosen points (when any are chosen), else of the selected shown patches'
// control points, on the screen in −1..1 view coordinates through worldViewProjection;
// nothing when there is nothing to act on, or it lies behind the eye or off the view.
std::optional<ScreenPoint> contextMenuAnchor(const Model& model, const PointSelection& chosen,
                                             const vm::Mat4& worldViewProjection);
