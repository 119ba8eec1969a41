// Models from other programs: standard Wavefront free-form OBJ files of bicubic Bezier
// surfaces, and the plain Bezier patch text the classic teapot data circulates in. Equal
// points are merged, so rows shared between patches become shared indices. What cannot be
// represented is refused whole, naming the line and the statement.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/largest-rounding.h"
#include "model/model.h"

struct ImportResult {
    bool ok = false;
    std::string reason; // when refused: "line 12: 'cstype rat bezier': rational surfaces ..."
    size_t skipped = 0; // statements read past (vt, vn, parm, curves, usemtl, …)
    size_t coloursSkipped = 0; // vertex colours read past ("v x y z r g b")
    size_t piecesCut = 0;      // surfaces over part of their parameter range, cut out exactly
    std::string format;        // "Wavefront free-form OBJ" or "Bezier patch text"
    // Set when the file was read only in part (a patch count that does not match the text):
    // "read 2 of the 3 patches its count gives; the file ends there".
    std::string stop;
    bool partial() const { return ok && !stop.empty(); }
    // The file was another program's model, read and then refused as a whole (its points
    // too close together for their distance from the origin).
    bool refusedWhole = false;
    // When measured and the file was read (whole or up to a stop): what six digits change.
    std::optional<LargestRounding> rounding;
};

// The format is told from the text (a leading UTF-8 byte-order mark and comments aside):
// IGES and STEP files are read as CAD surfaces (cad-import.h), a first statement that is a
// lone patch count is the patch text, anything else is read as OBJ. On success the model holds the
// points, the patches and, from OBJ g/o names, the groups that hold patches; on refusal it is left
// empty. A surface over part of its parameter range ("surf 0 0.5 0 1") is imported as exactly that
// part. Measured, the result also tells what six significant digits change in its points.
ImportResult importPatches(std::string_view text, Model& model,
                           SixDigitChange sixDigits = SixDigitChange::Unmeasured);
