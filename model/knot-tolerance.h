// Knots as CAD files mean them: numbers written to fifteen digits are not exact, so knots
// closer than a billionth of the surface's parameter range are one knot (no sliver patches),
// and a range end that close to a knot is that knot (a range a rounding past the last knot is
// the whole surface).
#pragma once

#include "model/bspline-patches.h"

constexpr double kRelativeKnotTolerance = 1e-9;

// Merges near knots and snaps the range ends in place; a surface whose knots or range are not
// finite and increasing is left for bezierPatches to refuse.
void normaliseKnots(BSplineSurface& surface);
// Whether the range is less than the whole of the surface's knots in either direction.
bool overPartOfRange(const BSplineSurface& surface);
