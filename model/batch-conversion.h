// Items of a file converted on every core a batch at a time, then taken in the file's order
// on the calling thread: converting one item needs nothing of another, so the result (and the
// first refusal) is that of converting them one after another, while at most a batch of
// converted items is held at once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

#include "core/parallel-ranges.h"

namespace batches {

inline constexpr size_t kDefaultItems = 16384;
// For tests and fuzzing: the items a batch holds (small batches put short files through the
// threads), or 0 for the default.
void setItems(size_t items);
size_t items();

// Joined when it goes out of scope, however the scope is left.
struct JoinedThread {
    std::thread thread;
    ~JoinedThread() {
        if (thread.joinable()) thread.join();
    }
};

// convert(i, result) for every i in [0, count), on several threads; take(i, result) in order,
// stopping (false) when take returns false. The next batch is converted while this one is
// taken, so the taking (merging points, one after another) overlaps the converting. A batch
// holds at most `most` items (items() when 0).
template <class Result, class Convert, class Take>
bool convertThenTake(size_t count, Convert&& convert, Take&& take, size_t most = 0) {
    constexpr size_t kSmallestSplit = 2; // two items are worth a second thread
    // Batches grow from a sixteenth of the largest, so that taking starts (and overlaps) soon.
    constexpr size_t kFirstFraction = 16;
    most = most ? most : items();
    auto batchAfter = [&](size_t batch) { return std::min(most, 2 * batch); };
    std::vector<Result> results[2];
    auto convertBatch = [&](size_t first, size_t n, std::vector<Result>& out) {
        out.clear();
        out.resize(n);
        inParallelRanges(
            n,
            [&](size_t from, size_t to) {
                for (size_t i = from; i < to; ++i)
                    convert(first + i, out[i]);
            },
            kSmallestSplit);
    };
    size_t batch = std::min(std::max<size_t>(1, most / kFirstFraction), count);
    convertBatch(0, batch, results[0]);
    for (size_t first = 0, k = 0; first < count; k ^= 1) {
        const size_t following = std::min(batchAfter(batch), count - first - batch);
        JoinedThread ahead;
        if (following > 0)
            ahead.thread =
                std::thread(convertBatch, first + batch, following, std::ref(results[k ^ 1]));
        for (size_t i = 0; i < results[k].size(); ++i)
            if (!take(first + i, results[k][i])) return false;
        first += batch;
        batch = following;
    }
    return true;
}

} // namespace batches
