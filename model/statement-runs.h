// Runs of like statements in a model text — the "v" statements that open it, then the plain
// "surf" statements (no group, no opacity) — read on every core at once: they are most of a
// large file. The result is exactly that of reading them one after another.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/vector-math.h"
#include "model/model.h"

namespace obj {

// A run is read in pieces of about this many bytes, on every core.
inline constexpr size_t kDefaultPieceBytes = size_t{1} << 20;
// For tests and fuzzing: the piece size (small pieces put short texts through the parallel
// reading), or 0 to read every run in one sequence on the calling thread.
void setPieceBytes(size_t bytes);

// Reads the run of "v x y z" statements starting at from (the first "v"), appending their
// points; returns the position just after the last whole one. Whatever ended the run (a
// statement of another kind, a number that does not parse) is left there for the caller.
const char* readPointStatements(std::string_view text, const char* from,
                                std::vector<vm::Float3>& points);

// The same for "surf u0 u1 v0 v1 i0 … i15", each followed or not by "end", starting at from
// (a "surf"): patches with no group and full opacity. Returns the position after the last
// whole statement and its "end".
const char* readPlainSurfaces(std::string_view text, const char* from,
                              std::vector<Model::Patch>& patches);

} // namespace obj
