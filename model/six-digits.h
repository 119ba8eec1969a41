// A float rounded to six significant digits and read back, as the editor's text keeps it,
// found without writing the text: importing a large model checks what the rounding changes
// for every coordinate.
#pragma once

namespace six_digits {

// The value six significant digits of value read back as; false (out untouched) when the
// arithmetic cannot be sure of it (a tie, a double rounding near a float's halfway point,
// values beyond about 10^±15), where the text must decide.
bool roundQuickly(float value, float& out);

// True when six significant digits surely give value back as it is (it is the float nearest
// a decimal of six digits, below 10^5); false when that is not known. No division: most
// coordinates a file gave with six digits are told apart at a few multiplications' cost.
bool keptQuickly(float value);

} // namespace six_digits
