// A float rounded to six significant digits and read back, as the editor's text keeps it,
// found without writing the text: importing a large model checks what the rounding changes
// for every coordinate.
#pragma once

namespace six_digits {

// The value six significant digits of value read back as; false (out untouched) when the
// arithmetic cannot be sure of it (a tie, a double rounding near a float's halfway point,
// values beyond about 10^±15), where the text must decide.
bool roundQuickly(float value, float& out);

} // namespace six_digits
