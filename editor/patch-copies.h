// Copies of patches with points of their own: duplicates, mirrored copies, a symmetry's
// mirror image made into patches, and the selection as model text for the clipboard.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "editor/point-transform.h"
#include "model/model.h"

// Copies the shown selected patches with new points moved by offset (zero: in place); the
// copies keep their groups and become the selection. Returns how many were made.
size_t duplicateSelection(Model& model, vm::Float3 offset);
// Where duplicates go so that they show: a tenth of the shown selection's size along x.
vm::Float3 duplicateOffset(const Model& model);

// A mirrored copy of the shown selected patches about the plane through pivot across the axis (x
// when free), turned so that its surfaces face outward as the originals do. Points on the
// plane are shared with the originals, so the copy is joined to them there. The copies
// become the selection.
size_t mirrorSelection(Model& model, Axis axis, vm::Vec4 pivot);

// Each symmetry with a selected patch (or itself selected) gets its mirror image as patches
// of its own, joined to its half by the points on the mirror plane, and becomes a plain
// group of the same name holding both halves. Returns how many symmetries were made real.
size_t makeSymmetriesReal(Model& model);

// The selected patches, their points and their groups as model text ("" with none).
std::string selectionText(const Model& model);

// Adds the patches of model text with new points; its groups come along, renamed when the
// name is taken; only the points the patches use are added. The pasted patches become the
// selection. Returns how many were added; 0 with why set (for the user) when the text is not
// model text, is cut short, or holds a value a user could not type (nothing is added then).
size_t pasteText(Model& model, std::string_view text, std::string& why);
