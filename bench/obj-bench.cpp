// Reading and writing model files of 100 000 patches.
#include <benchmark/benchmark.h>

#include <cmath>

#include "generated-model.h"
#include "model/obj-format.h"

namespace {

const Model& bigModel() { return hundredThousandPatches(); }

void BM_WriteObj(benchmark::State& state) {
    const Model& model = bigModel();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = writeObj(model);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["patches"] = static_cast<double>(model.patches.size());
}
BENCHMARK(BM_WriteObj)->Unit(benchmark::kMillisecond);

void BM_ReadObj(benchmark::State& state) {
    const std::string text = writeObj(bigModel());
    for (auto _ : state) {
        Model model;
        ObjResult result = readObj(text, model, nullptr);
        if (!result.ok() || model.patches.size() != 100000) state.SkipWithError("bad read");
        benchmark::DoNotOptimize(model.points.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadObj)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
