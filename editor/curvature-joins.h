// Making joins curvature-continuous (G2): after the joins are made smooth (their first rows
// line up with the edge), the second rows move so that the curvature across each edge is
// the same from both sides. The edges and the first rows stay.
#pragma once

#include <cstddef>
#include <string>

#include "model/model.h"

struct CurvatureJoinResult {
    size_t joins = 0;       // joins between two selected patches
    double largestJump = 0; // their largest relative curvature jump after
    size_t held = 0;        // joins left above kCurvatureMatch: their second rows are held
    size_t notSmooth = 0;   // joins whose tangent planes could not be made to agree
};
// Every join between two selected shown patches: T's smoothing, then the second rows. A
// second-row point that is also a point of a shared edge, of a pole, of a mirror-plane side
// or of a first row beside a shared edge stays, so no other join loses its tangent plane.
CurvatureJoinResult matchSelectedCurvature(Model& model);
// What the status bar says of it.
std::string curvatureJoinText(const CurvatureJoinResult& result);
