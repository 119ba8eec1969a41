// The bytes at which reading a STEP statement stops: outside strings a quote, ';', '/' or
// whitespace (left out, or the start of a comment), inside them a quote or a line break. Most
// of a file is none of them, and is passed over 16 bytes at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace step {

inline constexpr char kQuote = '\'';

// Whether c stops the reading outside strings (outside) and inside them (inString).
struct Marks {
    std::array<bool, 256> outside{}, inString{};
    constexpr Marks() {
        for (unsigned char c : {'\'', ';', '/', ' ', '\t', '\r', '\n', '\f', '\v'})
            outside[c] = true;
        for (unsigned char c : {'\'', '\r', '\n'})
            inString[c] = true;
    }
};
inline constexpr Marks kMarks;

// Sixteen bytes looked at at once (the compiler's vectors: SSE2 on x86-64, NEON on ARM).
inline constexpr size_t kLanes = 16;
using Lanes = unsigned char __attribute__((vector_size(kLanes)));

inline Lanes splat(unsigned char c) {
    Lanes v;
    std::memset(&v, c, sizeof v);
    return v;
}

// Which of the 16 bytes at p the reading stops at: a byte of the result 0xFF where it does.
inline void marked(const char* p, bool quoted, uint64_t (&halves)[2]) {
    constexpr unsigned char kFirstSpace = '\t', kSpaces = '\r' - '\t' + 1; // \t \n \v \f \r
    Lanes b;
    std::memcpy(&b, p, sizeof b);
    Lanes hit = (Lanes)(b == splat(kQuote)) | (Lanes)(b == splat('\r')) | (Lanes)(b == splat('\n'));
    if (!quoted)
        hit |= (Lanes)(b == splat(' ')) | (Lanes)(b == splat(';')) | (Lanes)(b == splat('/')) |
               (Lanes)(b - splat(kFirstSpace) < splat(kSpaces));
    std::memcpy(halves, &hit, sizeof halves);
}

// The first byte from p on, before end, that the reading stops at (end when none is).
inline const char* nextMarked(const char* p, const char* end, bool quoted) {
    constexpr int kBitsAByte = 8;
    for (; end - p >= static_cast<ptrdiff_t>(kLanes); p += kLanes) {
        uint64_t halves[2];
        marked(p, quoted, halves);
        if (halves[0]) return p + __builtin_ctzll(halves[0]) / kBitsAByte;
        if (halves[1]) return p + kLanes / 2 + __builtin_ctzll(halves[1]) / kBitsAByte;
    }
    const auto& marks = quoted ? kMarks.inString : kMarks.outside;
    while (p < end && !marks[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

// The first byte from p on, before end, that is a, b or c (end when none is).
inline const char* nextOf(const char* p, const char* end, char a, char b, char c) {
    constexpr int kBitsAByte = 8;
    for (; end - p >= static_cast<ptrdiff_t>(kLanes); p += kLanes) {
        Lanes v;
        std::memcpy(&v, p, sizeof v);
        const Lanes hit = (Lanes)(v == splat(static_cast<unsigned char>(a))) |
                          (Lanes)(v == splat(static_cast<unsigned char>(b))) |
                          (Lanes)(v == splat(static_cast<unsigned char>(c)));
        uint64_t halves[2];
        std::memcpy(halves, &hit, sizeof halves);
        if (halves[0]) return p + __builtin_ctzll(halves[0]) / kBitsAByte;
        if (halves[1]) return p + kLanes / 2 + __builtin_ctzll(halves[1]) / kBitsAByte;
    }
    while (p < end && *p != a && *p != b && *p != c)
        ++p;
    return p;
}

// The first byte from p on, before end, that is a or b (end when none is).
inline const char* nextEither(const char* p, const char* end, char a, char b) {
    return nextOf(p, end, a, b, b);
}

} // namespace step
