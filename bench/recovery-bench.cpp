// The recovery copy on the editor's thread: what a frame waits for is the snapshot alone
// (the text and the disk are the worker's). Target: under 50 ms at 100 000 patches.
#include <benchmark/benchmark.h>

#include "editor/recovery-writer.h"
#include "generated-model.h"

namespace {

void BM_RecoverySnapshot(benchmark::State& state) {
    const Model& model = hundredThousandPatches();
    for (auto _ : state) {
        Model copy = snapshotOf(model);
        benchmark::DoNotOptimize(copy.points.data());
    }
    state.counters["patches"] = static_cast<double>(model.patches.size());
}
BENCHMARK(BM_RecoverySnapshot)->Unit(benchmark::kMillisecond);

} // namespace
