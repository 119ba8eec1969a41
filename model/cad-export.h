// The model's surfaces, exactly, for CAD systems: each bicubic Bezier patch is a B-spline
// surface of degree 3 × 3 with knots 0,0,0,0,1,1,1,1 both ways. Written as IGES (entity 128,
// polynomial), STEP (AP214, B_SPLINE_SURFACE_WITH_KNOTS in a geometric set) or the standard
// free-form OBJ (1-based point numbers). Symmetries' mirror images are surfaces of their own;
// hidden patches are included (the file is the model). Coordinates are written in the
// shortest form that reads back to the same float.
#pragma once

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

namespace cad {

// One surface: its 16 control points row-major (entry 4·r + c is row r, column c; u runs
// along the columns), and the name of its group ("surface" for patches in none).
struct Surface {
    std::array<vm::Float3, 16> net;
    const std::string* name = nullptr;
};
// Each patch, then the mirror image of each patch of a symmetry (x negated, its columns run
// back so that it faces outward as the original does).
std::vector<Surface> surfacesOf(const Model& model);

enum class Format { Iges, Step, FreeFormObj };
// ".igs" / ".iges" and ".stp" / ".step" in any case; ".obj" only when freeForm.
std::optional<Format> formatFor(const std::string& path, bool freeForm);

// IGES sequence numbers have 7 digits.
constexpr size_t kLastIgesSequence = 9'999'999;

// The texts, written to file (false when a write failed). name is the file's own name for
// the headers. A model whose IGES sections would pass lastSequence lines is refused before
// anything is written, saying why in refusal.
bool writeIges(const Model& model, const std::string& name, std::FILE* file,
               std::string* refusal = nullptr, size_t lastSequence = kLastIgesSequence);
bool writeStep(const Model& model, const std::string& name, std::FILE* file);
bool writeFreeFormObj(const Model& model, std::FILE* file);

// Writes path whole or not at all; reason says why when it was not. surfaces counts what was
// written.
bool exportSurfaces(const Model& model, Format format, const std::string& path, std::string& reason,
                    size_t* surfaces = nullptr);

// The shortest text that reads back to the same float, with a decimal point as IGES and STEP
// want their reals ("1.", "-0.25", "1.5E-07").
std::string realText(float value);

} // namespace cad
