// Items of a file converted on every core a batch at a time, then taken in the file's order
// on the calling thread: converting one item needs nothing of another, so the result (and the
// first refusal) is that of converting them one after another, while at most a batch of
// converted items is held at once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/parallel-ranges.h"

namespace batches {

inline constexpr size_t kDefaultItems = 2048;
// For tests and fuzzing: the items a batch holds (small batches put short files through the
// threads), or 0 for the default.
void setItems(size_t items);
size_t items();

// convert(i, result) for every i in [0, count), on several threads; take(i, result) in order,
// stopping (false) when take returns false.
template <class Result, class Convert, class Take>
bool convertThenTake(size_t count, Convert&& convert, Take&& take) {
    constexpr size_t kSmallestSplit = 2; // two items are worth a second thread
    const size_t batch = items();
    std::vector<Result> results;
    for (size_t first = 0; first < count; first += batch) {
        const size_t n = std::min(batch, count - first);
        results.clear();
        results.resize(n);
        inParallelRanges(
            n,
            [&](size_t from, size_t to) {
                for (size_t i = from; i < to; ++i)
                    convert(first + i, results[i]);
            },
            kSmallestSplit);
        for (size_t i = 0; i < n; ++i)
            if (!take(first + i, results[i])) return false;
    }
    return true;
}

} // namespace batches
