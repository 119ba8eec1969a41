// Coordinates as the status bar shows them: labelled, to a precision that follows the size
// of the model (a model 1e-6 across shows its digits, one 1e6 across no noise), without
// trailing zeros.
#pragma once

#include <string>

#include "core/vector-math.h"

// value to about a thousandth of size's order of magnitude: 0.515818 at size 2 is "0.52",
// 523456 at size 1e6 "520000", 0 is "0".
std::string lengthText(float value, float size);

// "x 0.52  y 0  z 0", with the given labels.
std::string coordinatesText(vm::Vec4 p, float size, const char* x = "x", const char* y = "y",
                            const char* z = "z");
