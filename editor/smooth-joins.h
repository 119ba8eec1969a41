// How smoothly patches join along the edges they share, and making a join smooth: the rows
// on both sides of the edge lined up with it, so the two tangent planes agree all along.
#pragma once

#include <cstddef>
#include <vector>

#include "editor/patch-sides.h"
#include "model/model.h"

// The largest angle, in degrees, between the two patches' tangent planes at evenly spaced
// points along the edge they share (a tangent plane has no side: a patch facing the other
// way joins as well as one facing the same way).
inline constexpr int kJoinSamples = 17;
float joinAngle(const Model& model, const SharedEdge& edge, int samples = kJoinSamples);

// The sides of shown symmetry patches that lie on the mirror plane (x = 0): there the patch
// joins its own mirror image.
std::vector<SideRef> mirrorPlaneSides(const Model& model);
float mirrorJoinAngle(const Model& model, SideRef side, int samples = kJoinSamples);

// Makes smooth every join between two selected patches (both rows next to the edge move,
// halfway each, keeping the edge), and every selected symmetry patch's join with its mirror
// image (the row next to the plane lined up across it). Returns how many joins it made
// smooth.
size_t smoothSelectedJoins(Model& model);

// The largest join angle over the edges of the selected patches (shared ones and those on a
// mirror plane), and how many there are.
struct JoinSummary {
    size_t edges = 0;
    float largest = 0;
};
JoinSummary selectedJoins(const Model& model);
