// Decimal text to float as std::from_chars reads it, correctly rounded, with a fast path
// for the plain forms model files are made of ("-12.5", "0.353553"): reading millions of
// coordinates is most of the time it takes to open a large model.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>

namespace decimal {

inline bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

inline constexpr uint64_t kTens[9] = {1,      10,      100,      1000,     10000,
                                      100000, 1000000, 10000000, 100000000};

// How many of the eight bytes at p are digits before the first that is not (8 when all are).
inline size_t leadingDigits(const char* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    // Digits become 0..9; any other byte gets its top bit set, either by the subtraction
    // (below '0') or by the addition (above '9'). Borrows and carries only run toward later
    // bytes, past the first that is not a digit.
    const uint64_t t = v - 0x3030303030303030;
    const uint64_t other = ((t + 0x7676767676767676) | t) & 0x8080808080808080;
    return other ? static_cast<size_t>(__builtin_ctzll(other)) / 8 : 8;
}

// The value of the n (< 8) digits at p, the first the most significant.
inline uint64_t digitValue(const char* p, size_t n) {
    if (n == 0) return 0;
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    v = (v - 0x3030303030303030) << (8 * (8 - n)); // zeros stand in front of the digits
    v = (v * 10) + (v >> 8);                       // pairs of digits
    v = (((v & 0x000000FF000000FF) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32)))) >>
        32;
    return v & 0xFFFFFFFF;
}

// Plain digits with at most one point and no exponent, read from the front of a number's
// text: its sign, its digits as one whole number and how many of them follow the point.
struct PlainDecimal {
    bool negative = false;
    uint64_t mantissa = 0;
    size_t count = 0; // the digits read (more than 19 may have wrapped the mantissa)
    int afterPoint = 0;
    const char* end = nullptr;
};

[[gnu::always_inline]] inline PlainDecimal plainDecimal(const char* first, const char* last) {
    PlainDecimal d;
    const char* p = first;
    d.negative = p < last && *p == '-';
    p += d.negative;
    // The usual case, eight bytes at a time: up to eight digits, a point, up to eight more.
    size_t whole = 0, fraction = 0;
    if (last - p >= 17 && (whole = leadingDigits(p)) < 8 && p[whole] == '.' &&
        (fraction = leadingDigits(p + whole + 1)) < 8) {
        d.mantissa = digitValue(p, whole) * kTens[fraction] + digitValue(p + whole + 1, fraction);
        d.count = whole + fraction;
        d.afterPoint = static_cast<int>(fraction);
        p += whole + 1 + fraction;
    } else {
        const char* digits = p;
        while (p < last && isDigit(*p))
            d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
        d.count = static_cast<size_t>(p - digits);
        if (p < last && *p == '.') {
            const char* fractionDigits = ++p;
            while (p < last && isDigit(*p))
                d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
            d.afterPoint = static_cast<int>(p - fractionDigits);
            d.count += static_cast<size_t>(d.afterPoint);
        }
    }
    d.end = p;
    return d;
}

inline constexpr double kPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The correctly rounded double of a plain decimal when the quotient m / 10^k is (both exact
// in a double, so the one division rounds once), with nothing after it that makes it another
// number; false otherwise.
[[gnu::always_inline]] inline bool exactQuotient(const PlainDecimal& d, const char* last,
                                                 double& value) {
    const bool exponent = d.end < last && (*d.end == 'e' || *d.end == 'E');
    if (d.count == 0 || d.count > 19 || exponent || d.afterPoint > 22 ||
        d.mantissa > (uint64_t{1} << 53))
        return false;
    value = static_cast<double>(d.mantissa) / kPowers[d.afterPoint];
    return true;
}

// A float's 24 bits tell apart every decimal of this many significant digits (10^6 < 2^23):
// such a number read as a float is written back to that many digits as itself.
inline constexpr uint64_t kPastSixDigits = 1000000;

// Reads a float from the front of [first, last) in std::chars_format::general; the end of
// what was read, or nullptr when nothing there is a number (or it is out of range).
// sixDigits tells whether the text was a plain decimal of at most six significant digits in
// a float's normal range (six significant digits then keep the float as it is).
[[gnu::always_inline]] inline const char* parse(const char* first, const char* last, float& value,
                                                bool& sixDigits) {
    // The double quotient rounded to float rounds twice, which can differ from rounding once
    // only when the double lies next to a point halfway between two floats; such numbers,
    // like every other form, go to the library.
    const PlainDecimal plain = plainDecimal(first, last);
    if (double d = 0; exactQuotient(plain, last, d)) {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        const uint64_t dropped = bits & ((uint64_t{1} << 29) - 1); // bits a float does not keep
        const uint64_t halfway = uint64_t{1} << 28;
        const bool nearHalfway = dropped + 1 >= halfway && dropped <= halfway + 1;
        // 2^-125 .. 2^127: far from the float's subnormals and its largest value.
        if (d == 0 || (!nearHalfway && d >= 0x1p-125 && d < 0x1p127)) {
            value = static_cast<float>(plain.negative ? -d : d);
            sixDigits = plain.mantissa < kPastSixDigits;
            return plain.end;
        }
    }
    sixDigits = false;
    auto [next, error] = std::from_chars(first, last, value);
    return error == std::errc() ? next : nullptr;
}

[[gnu::always_inline]] inline const char* parse(const char* first, const char* last, float& value) {
    bool sixDigits = false;
    return parse(first, last, value, sixDigits);
}

// The same for a double: CAD files' coordinates and knots.
[[gnu::always_inline]] inline const char* parse(const char* first, const char* last,
                                                double& value) {
    const PlainDecimal plain = plainDecimal(first, last);
    if (double d = 0; exactQuotient(plain, last, d)) {
        value = plain.negative ? -d : d;
        return plain.end;
    }
    auto [next, error] = std::from_chars(first, last, value);
    return error == std::errc() ? next : nullptr;
}

// Reads an int32 from the front of [first, last) as std::from_chars does: the end of what
// was read, or nullptr when nothing there is a number or it does not fit.
[[gnu::always_inline]] inline const char* parse(const char* first, const char* last,
                                                int32_t& value) {
    const bool negative = first < last && *first == '-';
    const char* p = first + negative;
    if (last - p >= 8) {
        const size_t n = leadingDigits(p);
        if (n > 0 && n < 8) { // seven digits always fit
            const int64_t v = static_cast<int64_t>(digitValue(p, n));
            value = static_cast<int32_t>(negative ? -v : v);
            return p + n;
        }
    }
    auto [next, error] = std::from_chars(first, last, value);
    return error == std::errc() ? next : nullptr;
}

} // namespace decimal
