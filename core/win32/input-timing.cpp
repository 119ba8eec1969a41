#include "core/win32/input-timing.h"

#include <windows.h>

#include <cstdio>
#include <optional>

namespace {
long long counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

const char* pendingWhat = nullptr;
std::optional<Stopwatch> pendingWatch;
} // namespace

Stopwatch::Stopwatch() : start_(counterNow()) {}

double Stopwatch::milliseconds() const {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counterNow() - start_) /
           static_cast<double>(frequency.QuadPart);
}

void startInputTiming(const char* what) {
    pendingWhat = what;
    pendingWatch.emplace();
}

void reportInputTiming() {
    if (!pendingWhat || !pendingWatch) return;
    char line[120];
    std::snprintf(line, sizeof line, "Tavrel input to next frame: %s %.1f ms\n", pendingWhat,
                  pendingWatch->milliseconds());
    OutputDebugStringA(line);
    pendingWhat = nullptr;
}
