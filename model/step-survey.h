// What the STEP import looks for among a file's instances, found in one pass on every core:
// a file of points holds millions of instances, most of its text, which is read from memory
// once instead of once for each question.
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "model/step-text.h"

namespace step {

// Whether any record of an instance has one of the keywords: a simple instance's is compared
// without parsing its parameters. The keyword found (its text ends in a zero), or null.
const char* keywordAmong(std::string_view text, const std::string_view* keywords, size_t count);
template <size_t n>
const char* keywordAmong(std::string_view text, const std::string_view (&keywords)[n]) {
    return keywordAmong(text, keywords, n);
}

inline constexpr std::string_view kOtherSurfaces[] = {"PLANE",
                                                      "CYLINDRICAL_SURFACE",
                                                      "CONICAL_SURFACE",
                                                      "SPHERICAL_SURFACE",
                                                      "TOROIDAL_SURFACE",
                                                      "DEGENERATE_TOROIDAL_SURFACE",
                                                      "SURFACE_OF_REVOLUTION",
                                                      "SURFACE_OF_LINEAR_EXTRUSION",
                                                      "OFFSET_SURFACE",
                                                      "SURFACE_REPLICA",
                                                      "BEZIER_SURFACE",
                                                      "UNIFORM_SURFACE",
                                                      "QUASI_UNIFORM_SURFACE"};
inline constexpr std::string_view kPlacing[] = {"ITEM_DEFINED_TRANSFORMATION", "MAPPED_ITEM"};
inline constexpr std::string_view kWithKnots[] = {"B_SPLINE_SURFACE_WITH_KNOTS"};
// The instances the import reads: B-spline surfaces, what cuts or bounds them.
inline constexpr std::string_view kRead[] = {"B_SPLINE_SURFACE_WITH_KNOTS",
                                             "RECTANGULAR_TRIMMED_SURFACE", "ADVANCED_FACE",
                                             "FACE_SURFACE", "CURVE_BOUNDED_SURFACE"};

// Instances by their places in the list (by number), each list in the list's order.
struct Survey {
    std::vector<std::pair<size_t, const char*>> otherSurfaces; // and the keyword found
    std::vector<size_t> placing;
    std::vector<long> withKnots; // their numbers, read while their text is at hand
    std::vector<size_t> read;
    std::vector<size_t> referring; // a '#' anywhere in their text (a point has none)
};
Survey survey(const Instances& instances);

} // namespace step
