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
} // namespace

Stopwatch::Stopwatch() : start_(counterNow()) {}

double Stopwatch::milliseconds() const {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counterNow() - start_) /
           static_cast<double>(frequency.QuadPart);
}

void InputTiming::start(const char* what) {
    what_ = what;
    watch_.emplace();
}

void InputTiming::report() {
    if (!what_ || !watch_) return;
    char line[120];
    std::snprintf(line, sizeof line, "Tavrel input to next frame: %s %.1f ms\n", what_,
                  watch_->milliseconds());
    OutputDebugStringA(line);
    what_ = nullptr;
}
