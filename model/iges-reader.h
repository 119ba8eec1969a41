// IGES files' bicubic B-spline surfaces (entity 128), each over its parameter range U0..U1,
// V0..V1, as Bezier patches. Another kind of surface (a plane, a surface of revolution, …), a
// rational one, another degree or a transformation matrix refuses the file whole, naming the
// entity and counting the surfaces of other kinds. Trimmed and bounded surfaces (144, 143) and
// B-rep faces (510) give their whole surface: the result says how many.
#pragma once

#include <string_view>

#include "model/model.h"
#include "model/patch-import.h"

ImportResult importIges(std::string_view text, Model& model);
