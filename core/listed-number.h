// A number as the windows and the settings show it: six decimals, as the lists have always
// read, from a thousandth up; a smaller value keeps six significant digits (1.3375e-06), so
// that a model a millionth across reads as what it is and comes back from the settings.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

inline std::string listedNumber(double value) {
    char text[64];
    const bool tiny = value != 0 && std::fabs(value) < 1e-3;
    std::snprintf(text, sizeof text, tiny ? "%.6g" : "%f", value);
    return text;
}

// A point as the lists show it: three listed numbers, each followed by a blank.
inline std::string listedPoint(double x, double y, double z) {
    return listedNumber(x) + " " + listedNumber(y) + " " + listedNumber(z) + " ";
}
