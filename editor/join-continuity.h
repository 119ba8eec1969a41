// How continuous a join is: G0 (the patches meet), G1 (their tangent planes agree) or G2
// (their curvatures agree too), told by the angle between the tangent planes and by the
// jump in normal curvature across the edge.
#pragma once

#include "editor/join-angles.h"
#include "model/model.h"

enum class Continuity { G0, G1, G2 };
const char* continuityName(Continuity continuity);

// Curvatures across a join that differ by less than this share of the larger (or of one over
// the patches' size, for nearly flat joins) agree.
inline constexpr double kCurvatureMatch = 0.01;

// The largest jump in normal curvature across the edge, in the direction across it (A's
// derivative off the edge), over kJoinSamples along it, relative to the larger curvature of
// the two sides at that sample or to one over the patches' size, whichever is larger. Samples
// where either side has no curvature (a pole) are passed over.
double joinCurvatureJump(const Model& model, const SharedEdge& edge, int samples = kJoinSamples);

Continuity continuityOf(float angleDegrees, double curvatureJump);
