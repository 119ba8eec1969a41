// Choosing how finely each patch is drawn in a view, every time the camera moves: 10,000 and
// 100,000 patches.
#include <benchmark/benchmark.h>

#include "generated-model.h"
#include "graphics/patch-detail.h"
#include "view/orbit-camera.h"

namespace {

void BM_PatchDetail(benchmark::State& state) {
    Model model;
    const int side = static_cast<int>(state.range(0));
    generateSheet(model, side, side);
    OrbitCamera camera;
    camera.gamma = 0.6f; // looking down on the sheet
    const vm::Mat4 viewProjection =
        camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1.0f, 1e6f);
    const vm::Mat4 world[2] = {vm::identity(), vm::scaling(-1, 1, 1)};
    std::vector<detail::Grid> segments;
    for (auto _ : state) {
        detail::patchSegments(model, world, viewProjection, 1200, 800, segments);
        benchmark::DoNotOptimize(segments.data());
    }
    state.counters["patches"] = static_cast<double>(model.patches.size());
}
BENCHMARK(BM_PatchDetail)->Arg(100)->Arg(316)->Unit(benchmark::kMillisecond);

} // namespace
