// What the renderer is told about the patches of one model for a frame: where they are drawn
// and which one is under the mouse. The editor works it out from its own state
// (patchViewOf); the renderer needs nothing else of it.
#pragma once

#include "core/vector-math.h"

struct PatchView {
    vm::Mat4 world = vm::identity();         // the patches as shown (a drag's preview included)
    vm::Mat4 mirroredWorld = vm::identity(); // their mirror images, for patches in a symmetry
    int hoveredPatch = -1;                   // drawn in the hover colour; −1 for none
};
