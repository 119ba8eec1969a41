#include "model/line-count.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Sixteen bytes compared at once (the compiler's vectors: SSE2 on x86-64, NEON on ARM).
constexpr size_t kLanes = 16;
using Bytes = int8_t __attribute__((vector_size(kLanes)));
// The counts wrap past 127, so they are kept unsigned (a signed lane overflowing is undefined).
using Counts = uint8_t __attribute__((vector_size(kLanes)));
// A lane counts at most this many line breaks before the lanes are added up.
constexpr size_t kLaneLimit = 255;

} // namespace

size_t lineCount(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    size_t lines = 1;
    Bytes newline;
    std::memset(&newline, '\n', sizeof newline);
    while (static_cast<size_t>(end - p) >= kLanes) {
        const size_t rounds = std::min(kLaneLimit, static_cast<size_t>(end - p) / kLanes);
        Counts counts = {};
        for (size_t r = 0; r < rounds; ++r, p += kLanes) {
            Bytes bytes;
            std::memcpy(&bytes, p, sizeof bytes);
            counts -= reinterpret_cast<Counts>(bytes == newline); // a match is all ones
        }
        for (size_t lane = 0; lane < kLanes; ++lane)
            lines += counts[lane];
    }
    for (; p < end; ++p)
        lines += *p == '\n';
    return lines;
}
