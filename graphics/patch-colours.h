// The colours patches and control nets are drawn in: selection, hover and opacity.
#pragma once

#include "core/vector-math.h"
#include "model/model.h"

// The hovered patch is opaque in its hover colour; the others carry their alpha.
inline vm::Vec4 patchColour(const Model::Patch& patch, bool hovered) {
    if (hovered)
        return patch.selected ? vm::Vec4{0.5f, 1.0f, 0.2f, 1.0f} : vm::Vec4{0.5f, 0.2f, 1.0f, 1.0f};
    return patch.selected ? vm::Vec4{0.2f, 1.0f, 0.0f, patch.alpha}
                          : vm::Vec4{1.0f, 0.0f, 0.0f, patch.alpha};
}

// Blending follows the patch's alpha, hovered or not; NaN counts as translucent.
inline bool patchBlends(const Model::Patch& patch) {
    return !(patch.alpha == 1.0f);
}

inline vm::Vec4 controlNetColour(const Model::Patch& patch, bool hovered) {
    if (hovered) return {0.95f, 0.95f, 1.0f, 0};
    return patch.selected ? vm::Vec4{0.95f, 1.0f, 0.95f, 0} : vm::Vec4{0.5f, 0.5f, 1.0f, 0};
}
