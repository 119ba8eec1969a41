// Box selection: a rubber band dragged on empty space in the select tool selects the patches
// whose control points all project inside it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/vector-math.h"
#include "editor/selection.h"
#include "model/model.h"

// A rectangle in a viewport's normalised coordinates (−1 … 1, y up), corners in any order.
struct ScreenBox {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Per pool point, whether it projects inside box and lies in front of the eye, seen through
// worldViewProjection (orthographic or perspective alike).
std::vector<uint8_t> poolPointsInBox(const Model& model, const vm::Mat4& worldViewProjection,
                                     ScreenBox box);

// The shown patches whose sixteen control points all lie inside box and in front of the eye,
// seen through worldViewProjection (the model's world matrix times the view's
// view-projection). Each pool point is projected once.
std::vector<uint32_t> patchesInBox(const Model& model, const vm::Mat4& worldViewProjection,
                                   ScreenBox box);

// As clicks do: plain replaces the selection with the patches, Shift adds them, Control
// toggles each of them.
void selectBox(Model& model, const std::vector<uint32_t>& patches, ClickModifiers modifiers);
