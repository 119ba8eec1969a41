// What one view's frame is drawn with, handed to the renderer as the view's drawing begins:
// the camera and how the patches are shown. The renderer keeps nothing of it beyond the frame.
#pragma once

#include "core/vector-math.h"

struct FrameView {
    vm::Mat4 viewProjection = vm::identity(); // the camera's view × projection
    // The shaded display: patches lit by a directional light along `light` (the direction
    // the camera looks along), keeping their state colour as the base.
    bool shaded = false;
    vm::Vec4 light{0, 0, 1, 0};
    // Zebra stripes (drawn instead of the shading): bands reflected along `light`, running
    // across stripes.xyz (unit), stripes.w of them a unit of the reflection.
    bool zebra = false;
    vm::Vec4 stripes{0, 1, 0, 8};
    // The curvature display (drawn instead of both): curvature::shaderScale's values.
    bool curvature = false;
    vm::Vec4 curvatureScale{1, -1, 0.5f, 0};
    bool wireframe = false; // patches drawn as the edges of their triangles
    // The direction arrow heads face: the orbit camera's viewing direction.
    vm::Vec4 arrowFacing{0, 0, 1, 0};
};
