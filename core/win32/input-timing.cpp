#include "core/win32/input-timing.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

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

void ShownTiming::start(const char* what) {
    what_ = what;
    watch_.emplace();
    lastMark_ = 0;
    phases_.clear();
}

void ShownTiming::phase(const char* name) {
    if (!pending()) return;
    const double now = watch_->milliseconds();
    phases_.emplace_back(name, now - lastMark_);
    lastMark_ = now;
}

void ShownTiming::cancel() {
    what_ = nullptr;
}

void ShownTiming::report() {
    if (!pending()) return;
    phase("frame");
    char part[64];
    std::snprintf(part, sizeof part, "Tavrel %s shown: %.0f ms after the input (", what_,
                  lastMark_);
    std::string line = part;
    for (size_t i = 0; i < phases_.size(); ++i) {
        std::snprintf(part, sizeof part, "%s%s %.0f", i ? ", " : "", phases_[i].first,
                      phases_[i].second);
        line += part;
    }
    OutputDebugStringA((line + ")\n").c_str());
    what_ = nullptr;
}
