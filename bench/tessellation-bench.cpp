// The CPU tessellation path: patches evaluated per second at factor 5 (36 grid points each).
#include <benchmark/benchmark.h>

#include <vector>

#include "generated-model.h"
#include "graphics/surface-cache.h"
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

// One step of a point drag on the 100,000-patch model: the point moved, its patches
// evaluated again (range 1), against every patch evaluated again (range 0, as before).
void BM_DragStepSurfaces(benchmark::State& state) {
    static Model model = [] {
        Model m;
        generateSheet(m, 400, 250);
        return m;
    }();
    SurfaceCache cache;
    cache.update(model);
    uint32_t index = static_cast<uint32_t>(model.points.size() / 2);
    for (auto _ : state) {
        model.points[index].y += 0.001f;
        if (state.range(0))
            model.updatePoints({index});
        else
            model.updatePointBuffer();
        benchmark::DoNotOptimize(cache.update(model).data());
    }
    state.counters["patches_evaluated"] = static_cast<double>(cache.evaluated());
}
BENCHMARK(BM_DragStepSurfaces)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
