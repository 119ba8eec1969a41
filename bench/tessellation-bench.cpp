// The CPU tessellation path: patches evaluated per second at factor 5 (36 grid points each).
#include <benchmark/benchmark.h>

#include <vector>

#include "generated-model.h"
#include "model/bezier-surface.h"

namespace {

void BM_TessellatePatches(benchmark::State& state) {
    Model model;
    generateSheet(model, 100, 100); // 10 000 patches
    std::vector<vm::Float3> out(model.patches.size() * bezier::kGridVertices);
    for (auto _ : state) {
        for (size_t i = 0; i < model.patches.size(); ++i)
            bezier::tessellate(bezier::controlPoints(model, model.patches[i]),
                               out.data() + i * bezier::kGridVertices);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * model.patches.size()));
}
BENCHMARK(BM_TessellatePatches)->Unit(benchmark::kMillisecond);

} // namespace
