// Transform editing: the preview matrix the rotate and translate tools show before their
// change is committed to the points.
#pragma once

#include "core/editor-state.h"
#include "core/vector-math.h"

namespace tools {
inline constexpr int kRotate = 3;
inline constexpr int kTranslate = 4;
} // namespace tools

// The world matrix a model is drawn with: mirrored in x when asked (the second copy of a
// symmetry's patches), then the tool's preview, then base.
vm::Mat4 displayMatrix(const EditorState& editor, const vm::Mat4& base, bool mirror);
