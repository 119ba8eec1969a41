// How long an input takes until the next frame starts, on the debugger output: "Tavrel input
// to next frame: delete 3.1 ms". Measures the editor's own handling of a click, a delete or a
// drag step on models of any size, under the platform it runs on.
#pragma once

// At the input; a later input before the next frame replaces it.
void startInputTiming(const char* what);
// At the start of a frame tick: reports the pending input, if any.
void reportInputTiming();
