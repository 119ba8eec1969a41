// The curvature display's scale, fitted to the curvature the shown patches have: most of
// their samples span it, so a few sharp spots (a pole's neighbourhood, a tight fillet) do
// not wash the rest out to one colour.
#pragma once

#include <string>
#include <vector>

#include "graphics/curvature-colours.h"
#include "model/model.h"

// The share of samples left beyond either end of a fitted scale.
inline constexpr double kScaleOutliers = 0.02;

// The scale of the samples (values with a meaning: not at a pole): from the 2nd to the 98th
// percentile, symmetric about zero for Gaussian curvature (so green is flat or cylindrical,
// red domed, blue saddle-shaped). A scale with no width (a flat or a perfect sphere's
// samples, or none) is widened by its size's share, or to flatCurvature either way.
curvature::Scale scaleOfSamples(std::vector<float> samples, curvature::Kind kind,
                                double flatCurvature);

// The scale fitted to the shown patches, sampled on a small grid each (every so many
// patches in a large model, so fitting a model of any size stays quick).
curvature::Scale fittedScale(const Model& model, curvature::Kind kind);

// What the shaders take for the display: the scale its commands fitted, or one fitted now
// (and kept) when the display was remembered on at start-up.
struct EditorState;
vm::Vec4 curvatureScaleOf(EditorState& editor, const Model& model);

// "Mean curvature -0.42 to 1.3 (automatic)".
std::string scaleText(curvature::Kind kind, const curvature::Scale& scale);
