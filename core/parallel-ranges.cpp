#include "core/parallel-ranges.h"

#include <algorithm>
#include <thread>
#include <vector>

void inParallelRanges(size_t count, const std::function<void(size_t, size_t)>& work,
                      size_t smallest) {
    const size_t threads =
        count < smallest ? 1 : std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work, count * t / threads, count * (t + 1) / threads);
    work(0, count / threads);
    for (std::thread& helper : helpers)
        helper.join();
}
