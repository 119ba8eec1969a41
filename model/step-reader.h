// STEP files' bicubic B-spline surfaces (B_SPLINE_SURFACE_WITH_KNOTS, simple or in the complex
// form rational surfaces take when all their weights are equal) as Bezier patches, each whole,
// or over the range of a RECTANGULAR_TRIMMED_SURFACE that cuts it (a surface only cut is
// imported only as its cuts). Another kind of surface (PLANE, CYLINDRICAL_SURFACE, …), a rational
// surface or another degree refuses the file whole, naming the entity and counting the surfaces
// of other kinds. Faces' edges are not read: a face gives its whole surface, and the result
// says how many.
#pragma once

#include <string_view>

#include "model/model.h"
#include "model/patch-import.h"

ImportResult importStep(std::string_view text, Model& model);
