// The CPU tessellation path: patches evaluated per second at factor 5 (36 grid points each);
// a point drag step and an orbit step of the surfaces kept between frames.
#include <benchmark/benchmark.h>

#include <vector>

#include "editor/gpu-copy-view.h"
#include "generated-model.h"
#include "graphics/patch-detail.h"
#include "graphics/surface-cache.h"
#include "model/bezier-surface.h"
#include "view/orbit-camera.h"

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

// One step of a point drag on the 100,000-patch model through its document: the point
// moved, its patches evaluated again (range 1), against every patch evaluated again
// (range 0, as before).
void BM_DragStepSurfaces(benchmark::State& state) {
    static Model model = [] {
        Model m;
        generateSheet(m, 400, 250);
        return m;
    }();
    Document document(model);
    GpuModelCopy copy;
    GpuCopyView follower(copy);
    document.addView(&follower);
    const std::vector<detail::Grid> levels(model.patches.size(), detail::squareGrid(2));
    SurfaceCache cache;
    cache.update(model, copy, levels);
    uint32_t index = static_cast<uint32_t>(model.points.size() / 2);
    for (auto _ : state) {
        document.preview([&](Model& m) {
            m.points[index].y += 0.001f;
            return std::vector<uint32_t>{index};
        });
        if (!state.range(0)) copy.allPointsMoved(model);
        benchmark::DoNotOptimize(cache.update(model, copy, levels).data());
    }
    state.counters["patches_evaluated"] = static_cast<double>(cache.evaluated());
}
BENCHMARK(BM_DragStepSurfaces)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One orbit step of the CPU path (what a frame costs before drawing): the camera turned a
// little about a sheet of range(0)² patches seen from above, every patch's level worked out
// again, the grids of those whose level changed evaluated, the others copied.
void BM_OrbitStepSurfaces(benchmark::State& state) {
    Model model;
    const int side = static_cast<int>(state.range(0));
    generateSheet(model, side, side);
    OrbitCamera camera;
    camera.gamma = 0.5f;
    camera.distance = 0; // the sheet fills the view
    const vm::Mat4 projection = vm::perspectiveFovRH(0.7853982f, 1.5f, 0.01f, 1e3f);
    const vm::Mat4 world[2] = {vm::identity(), vm::scaling(-1, 1, 1)};
    std::vector<detail::Grid> levels;
    const GpuModelCopy copy; // the model does not change
    SurfaceCache cache;
    size_t evaluated = 0, vertices = 0;
    for (auto _ : state) {
        camera.theta += 0.02f;
        detail::patchSegments(model, world, camera.viewMatrix() * projection, 1200, 800, levels);
        cache.update(model, copy, levels);
        evaluated += cache.evaluated();
        vertices = cache.vertices().size();
    }
    state.counters["evaluated_per_step"] =
        static_cast<double>(evaluated) / static_cast<double>(state.iterations());
    state.counters["vertices"] = static_cast<double>(vertices);
}
BENCHMARK(BM_OrbitStepSurfaces)->Arg(100)->Arg(316)->Unit(benchmark::kMillisecond);

} // namespace
