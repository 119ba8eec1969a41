// Surfaces from CAD files: IGES (iges-reader.h) and STEP (step-reader.h) bicubic B-spline
// surfaces, with any knots, cut exactly into their Bezier patches; patches that meet share
// their points. What cannot be represented refuses the file whole, naming the entity.
#pragma once

#include <string_view>

#include "model/model.h"
#include "model/patch-import.h"

// Whether the text is IGES (its first line's column 73 is 'S') or STEP ("ISO-10303-21;").
bool isCadText(std::string_view text);
ImportResult importCadSurfaces(std::string_view text, Model& model);
