// The "v" statements that open a model text, read on every core at once: they are most of a
// large file. The result is exactly that of reading them one after another.
#pragma once

#include <string_view>
#include <vector>

#include "core/vector-math.h"

namespace obj {

// Reads the run of "v x y z" statements starting at from (the first "v"), appending their
// points; returns the position just after the last whole one. Whatever ended the run (a
// statement of another kind, a number that does not parse) is left there for the caller.
const char* readPointStatements(std::string_view text, const char* from,
                                std::vector<vm::Float3>& points);

} // namespace obj
