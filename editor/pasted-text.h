// What makes model text fit to paste beyond reading: it is whole (the clipboard or a text
// editor's selection may have cut its end off), and its values are ones the editor lets a
// user type.
#pragma once

#include <string>
#include <string_view>

#include "model/model.h"

// Why the text's last statement may be cut short, or "" when it is whole: the text ends with
// a line end, and every patch's "surf" statement is closed by its "end" (the model text
// writes both; a patch line cut inside its last index would otherwise read as another index).
std::string cutTextReason(std::string_view text);

// Why the read model holds a value a user could not type, or "": a coordinate beyond the
// working range, an opacity outside 0 to 1.
std::string untypableValueReason(const Model& part);
