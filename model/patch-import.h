// Models from other programs: standard Wavefront free-form OBJ files of bicubic Bezier
// surfaces, and the plain Bezier patch text the classic teapot data circulates in. Equal
// points are merged, so rows shared between patches become shared indices. What cannot be
// represented is refused whole, naming the line and the statement.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/model.h"

struct ImportResult {
    bool ok = false;
    std::string reason; // when refused: "line 12: 'cstype rat bezier': rational surfaces ..."
    size_t skipped = 0; // statements read past (vt, vn, parm, usemtl, …)
    std::string format; // "Wavefront free-form OBJ" or "Bezier patch text"
};

// The format is told from the text: a first statement that is a lone patch count is the
// patch text, anything else is read as OBJ. On success the model holds the points, the
// patches and, from OBJ g/o names, the groups; on refusal it is left empty.
ImportResult importPatches(std::string_view text, Model& model);
