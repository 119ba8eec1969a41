// The selection: a flag on each patch and each group, changed by clicks and shortcuts.
#pragma once

#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

struct ClickModifiers {
    bool control = false;
    bool shift = false;
};

// A plain click selects exactly the item (nothing on empty space, index −1); Shift adds it;
// Control toggles it; with either modifier an empty-space click changes nothing.
void selectPatch(Model& model, int index, ClickModifiers modifiers);
void selectGroup(Model& model, int index, ClickModifiers modifiers);
// Every patch selected; returns the centre of the selection box (zero when there are no
// patches), which becomes the pivot.
vm::Vec4 selectAll(Model& model);
// The box of the selected patches' control points; false when nothing is selected.
bool selectionBounds(const Model& model, vm::Vec4& min, vm::Vec4& max);
// What framing shows: the selection's box when something is selected, else the box of the
// shown patches' control points (of the whole pool when no patch is shown); false for an
// empty model.
bool frameBounds(const Model& model, vm::Vec4& min, vm::Vec4& max);
// Shows or hides the selected groups, then the selected patches not in a hidden group, then
// recounts the point uses.
void setSelectionVisible(Model& model, bool visible, std::vector<int>& useCount);
// Per point, the number of corners of shown patches that name it.
void rebuildUseCount(const Model& model, std::vector<int>& useCount);
// The selected patches' indices, "2;5;11", up to the last whole index that fits maxLength.
std::string selectedPatchesText(const Model& model, size_t maxLength = std::string::npos);
