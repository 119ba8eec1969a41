// Surfaces from CAD files: IGES entity 128 and STEP B_SPLINE_SURFACE_WITH_KNOTS of degree
// 3 × 3, non-rational (or with all weights equal), with any knots, cut exactly into their
// Bezier patches; patches that meet share their points. A rational surface, another degree or
// another kind of surface refuses the file whole, naming the entity. Trimming (IGES 144 and
// 143, STEP faces' edges) is not read: each surface is imported whole, and the result says so.
#pragma once

#include <string_view>

#include "model/model.h"
#include "model/patch-import.h"

// Whether the text is IGES (its first line's column 73 is 'S') or STEP ("ISO-10303-21;").
bool isCadText(std::string_view text);
ImportResult importCadSurfaces(std::string_view text, Model& model);
