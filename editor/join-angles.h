// How smoothly patches join: the largest angle between the two tangent planes along the edge
// they share, or across a symmetry's mirror plane (x = 0) where a patch joins its own image.
#pragma once

#include <cstddef>
#include <vector>

#include "editor/patch-sides.h"
#include "model/model.h"

// Evenly spaced samples along the edge, then a finer search around the largest of them, so
// that a crease between two samples is measured in full. A tangent plane has no side: a
// patch facing the other way joins as well as one facing the same way.
inline constexpr int kJoinSamples = 17;
float joinAngle(const Model& model, const SharedEdge& edge, int samples = kJoinSamples);

// The sides of shown symmetry patches that lie on the mirror plane: there the patch joins
// its own mirror image.
std::vector<SideRef> mirrorPlaneSides(const Model& model);
float mirrorJoinAngle(const Model& model, SideRef side, int samples = kJoinSamples);

// Never more than joinAngle / mirrorJoinAngle give (the largest of every kFloorStride-th of
// their samples, no search between them), at a fraction of the work: enough where an angle
// only has to be shown large enough.
inline constexpr int kFloorStride = 4;
float joinAngleFloor(const Model& model, const SharedEdge& edge);
float mirrorJoinAngleFloor(const Model& model, SideRef side);

// The largest join angle over the edges of the selected patches (shared ones and those on a
// mirror plane), and how many there are.
struct JoinSummary {
    size_t edges = 0;
    float largest = 0;
};
JoinSummary selectedJoins(const Model& model);
