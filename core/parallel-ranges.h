// Work over [0, count) split into one range per core: the editor's large loops (boxes of a
// hundred thousand patches, their surfaces for a frame) use both cores of a small machine.
#pragma once

#include <cstddef>
#include <functional>

// Runs work(from, to) over ranges covering [0, count), on several threads when count is at
// least smallest (one call on this thread otherwise); returns when every range is done.
void inParallelRanges(size_t count, const std::function<void(size_t, size_t)>& work,
                      size_t smallest = 8192);
