#include "core/input-timing.h"

#include <windows.h>

#include <cstdio>

namespace {
const char* pendingWhat = nullptr;
LARGE_INTEGER pendingStart;
} // namespace

void startInputTiming(const char* what) {
    pendingWhat = what;
    QueryPerformanceCounter(&pendingStart);
}

void reportInputTiming() {
    if (!pendingWhat) return;
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    char line[120];
    std::snprintf(line, sizeof line, "Tavrel input to next frame: %s %.1f ms\n", pendingWhat,
                  1000.0 * static_cast<double>(now.QuadPart - pendingStart.QuadPart) /
                      static_cast<double>(frequency.QuadPart));
    OutputDebugStringA(line);
    pendingWhat = nullptr;
}
