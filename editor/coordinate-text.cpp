#include "editor/coordinate-text.h"

#include <cmath>
#include <cstdio>

namespace {

// Digits below the size's own order of magnitude that are shown.
constexpr int kDigitsBelowSize = 2;
// Beyond these many decimals (or for a value too large to write plainly) the general form.
constexpr int kMostDecimals = 12;
constexpr double kLargestPlain = 1e15;
constexpr double kOrderSlack = 1e-6;

} // namespace

std::string lengthText(float value, float size) {
    const double v = value;
    char text[64];
    if (!std::isfinite(v) || std::fabs(v) >= kLargestPlain) {
        std::snprintf(text, sizeof text, "%g", v);
        return text;
    }
    const double s = std::isfinite(size) && size > 0 ? size : 1.0;
    // A float's 1e-6 lies just below it: its order is still -6.
    const int exponent =
        static_cast<int>(std::floor(std::log10(s) + kOrderSlack)) - kDigitsBelowSize;
    if (-exponent > kMostDecimals) {
        std::snprintf(text, sizeof text, "%.3g", v);
        return text;
    }
    const double step = std::pow(10.0, exponent);
    const double rounded = std::round(v / step) * step;
    std::snprintf(text, sizeof text, "%.*f", exponent < 0 ? -exponent : 0, rounded);
    std::string out = text;
    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') out.pop_back();
    }
    if (out == "-0") out = "0";
    return out;
}

std::string coordinatesText(vm::Vec4 p, float size, const char* x, const char* y, const char* z) {
    return std::string(x) + " " + lengthText(p.x, size) + "  " + y + " " + lengthText(p.y, size) +
           "  " + z + " " + lengthText(p.z, size);
}
