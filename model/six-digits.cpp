#include "model/six-digits.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace six_digits {

namespace {

constexpr int kDigits = 6;
constexpr double kLowest = 1e5, kPastHighest = 1e6; // six digits as a whole number
constexpr int kExactPowers = 22;                    // 10^22 is the last exact double
constexpr double kPowers[kExactPowers + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Scaled values below 10^6 are off by at most half a double's step there (2^-34): fractions
// nearer a half than this may be a tie.
constexpr double kTieMargin = 1e-9;
// Binary exponents whose scaling and scaling back keep both powers of ten exact.
constexpr int kLowestExponent = -50, kHighestExponent = 50;
constexpr int kDoubleFraction = 52, kDoubleBias = 1023;
// floor(e · log10 2) = (e · 1233) >> 12 for the exponents above.
constexpr int kLog10Of2Times4096 = 1233, kLog10Shift = 12;
constexpr int kFloatDroppedBits = 29; // of a double's fraction, that a float does not keep

// d · 10^p, rounded once (|p| within the exact powers).
double timesPowerOfTen(double d, int p) {
    return p >= 0 ? d * kPowers[p] : d / kPowers[-p];
}

} // namespace

bool roundQuickly(float value, float& out) {
    if (value == 0) { // "0" and "-0" read back as themselves
        out = value;
        return true;
    }
    const double d = std::fabs(static_cast<double>(value));
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const int exponent = static_cast<int>(bits >> kDoubleFraction) - kDoubleBias;
    if (exponent < kLowestExponent || exponent > kHighestExponent) return false; // and NaN, inf
    // The decimal exponent: floor(log10 d) is this or one more.
    int decimal = (exponent * kLog10Of2Times4096) >> kLog10Shift;
    // Both scalings, the second for one decimal more: choosing between them takes no branch
    // (which coordinates mispredict half the time).
    const int power = kDigits - 1 - decimal;
    const double once = timesPowerOfTen(d, power), oneMore = timesPowerOfTen(d, power - 1);
    const bool over = once >= kPastHighest;
    const double scaled = over ? oneMore : once;
    decimal += over;
    if (scaled < kLowest || scaled >= kPastHighest) return false; // just below 10^k: the text's
    // Truncated (below 10^6, so exact), where floor would be a library call without SSE4.1.
    const auto whole = static_cast<uint32_t>(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) <= kTieMargin) return false;
    const double digits = static_cast<double>(whole + (fraction > 0.5));
    // The decimal read back: correctly rounded to double, then to float, which rounds the
    // same as once unless the double lies next to a float's halfway point.
    const double read = timesPowerOfTen(digits, decimal - (kDigits - 1));
    uint64_t readBits;
    std::memcpy(&readBits, &read, sizeof readBits);
    const uint64_t dropped = readBits & ((uint64_t{1} << kFloatDroppedBits) - 1);
    const uint64_t halfway = uint64_t{1} << (kFloatDroppedBits - 1);
    if (dropped + 1 >= halfway && dropped <= halfway + 1) return false;
    out = std::copysign(static_cast<float>(read), value);
    return true;
}

bool keptQuickly(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    constexpr int kFloatFraction = 23, kFloatBias = 127, kFloatExponents = 0xff;
    const int exponent = (static_cast<int>(bits >> kFloatFraction) & kFloatExponents) - kFloatBias;
    // value in [2^exponent, 2^(exponent + 1)); "0" and "-0" read back as themselves, and the
    // rest out of range (denormals, NaN, inf among them) is for rounding to say.
    if (exponent < kLowestExponent || exponent > kHighestExponent) return value == 0;
    // value · 10^power in [10^5, 10^6) for one of two powers, exact multipliers both.
    const int power = kDigits - 1 - ((exponent * kLog10Of2Times4096) >> kLog10Shift);
    if (power < 1) return false; // 10^5 and beyond
    // Without a branch on the value's digits, which coordinates would mispredict.
    const double d = std::fabs(static_cast<double>(value));
    const int used = power - (d * kPowers[power] >= kPastHighest);
    const double scaled = d * kPowers[used]; // within 2^-34 of the exact product
    const auto whole = static_cast<uint32_t>(scaled);
    const double distance = 0.5 - std::fabs(scaled - whole - 0.5); // to the nearest digits, exact
    // Half the spacing of floats next to value (the spacing below a power of two is half the
    // one above), scaled as value was: exact, a power of two times an exact power of ten.
    const uint32_t powerOfTwo = (bits & ((uint32_t{1} << kFloatFraction) - 1)) == 0;
    const uint64_t halfSpacingBits =
        static_cast<uint64_t>(exponent - kFloatFraction - 1 - static_cast<int>(powerOfTwo) +
                              kDoubleBias)
        << kDoubleFraction;
    double halfSpacing;
    std::memcpy(&halfSpacing, &halfSpacingBits, sizeof halfSpacing);
    // Nearer those digits than half a spacing, even allowing for the product's rounding: value
    // is the float they read as, and six digits of value write them again.
    constexpr double kScaledError = 0x1p-33;
    return (scaled >= kLowest) & (scaled < kPastHighest) &
           (distance + kScaledError < halfSpacing * kPowers[used]);
}

} // namespace six_digits
