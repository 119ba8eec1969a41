// The program's own timing reports on the debugger output: a stopwatch on the performance
// counter, and how long an input takes until the next frame starts ("Tavrel input to next
// frame: delete 3.1 ms") for a click, a delete or a drag step on models of any size.
#pragma once

#include <optional>
#include <utility>
#include <vector>

class Stopwatch {
  public:
    Stopwatch(); // started now
    double milliseconds() const;

  private:
    long long start_;
};

class InputTiming {
  public:
    // At the input; a later input before the next frame replaces it.
    void start(const char* what);
    // At the start of a frame tick: reports the pending input, if any.
    void report();

  private:
    const char* what_ = nullptr;
    std::optional<Stopwatch> watch_;
};

// How long an input takes until its result is on the screen, in phases: "Tavrel import shown:
// 1830 ms after the input (read 900, buffers 300, shape window 400, frame 230)". An import
// replaces the whole document, so its parts are timed where a slow one would be found.
class ShownTiming {
  public:
    void start(const char* what); // at the input
    // A phase ends now (the time since the previous mark); nothing when none is pending.
    void phase(const char* name);
    void cancel(); // the input came to nothing: no report
    bool pending() const { return what_ != nullptr; }
    // Once the frame after the input is presented: that frame is the last phase.
    void report();

  private:
    const char* what_ = nullptr;
    std::optional<Stopwatch> watch_;
    double lastMark_ = 0;
    std::vector<std::pair<const char*, double>> phases_;
};
