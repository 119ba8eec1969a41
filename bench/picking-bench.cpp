// Picking on a model of 100 000 patches: the work of one mouse move.
#include <benchmark/benchmark.h>

#include "editor/pick-accelerator.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "generated-model.h"

namespace {

const Model& bigModel() {
    return hundredThousandPatches();
}

void BM_PickPoint(benchmark::State& state) {
    const Model& model = bigModel();
    std::vector<int> useCount;
    rebuildUseCount(model, useCount);
    OrbitCamera camera;
    const vm::Mat4 viewProjection =
        camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
    float nx = -0.9f;
    for (auto _ : state) {
        PointPick pick = pickPoint(model, vm::identity(), viewProjection, useCount, nx, 0.1f);
        benchmark::DoNotOptimize(pick);
        nx = nx > 0.9f ? -0.9f : nx + 0.01f;
    }
    state.counters["points"] = static_cast<double>(model.points.size());
}
BENCHMARK(BM_PickPoint)->Unit(benchmark::kMillisecond);

void BM_PickPatch(benchmark::State& state) {
    const Model& model = bigModel();
    OrbitCamera camera;
    camera.gamma = 0.6f; // looking down on the sheet
    int x = 0;
    for (auto _ : state) {
        PatchPick pick =
            pickPatch(model, vm::identity(), camera, locateViewport(x, 300, 1200, 800, false));
        benchmark::DoNotOptimize(pick);
        x = (x + 7) % 1200;
    }
    state.counters["patches"] = static_cast<double>(model.patches.size());
}
BENCHMARK(BM_PickPatch)->Unit(benchmark::kMillisecond);

// The same, as the mouse handler asks: the camera stands still while the mouse moves.
void BM_PickPointMouseMove(benchmark::State& state) {
    const Model& model = bigModel();
    std::vector<int> useCount;
    rebuildUseCount(model, useCount);
    OrbitCamera camera;
    const vm::Mat4 viewProjection =
        camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
    PickAccelerator accelerator;
    accelerator.pickPoint(model, vm::identity(), viewProjection, useCount, 0, 0); // camera settles
    float nx = -0.9f;
    for (auto _ : state) {
        PointPick pick =
            accelerator.pickPoint(model, vm::identity(), viewProjection, useCount, nx, 0.1f);
        benchmark::DoNotOptimize(pick);
        nx = nx > 0.9f ? -0.9f : nx + 0.01f;
    }
}
BENCHMARK(BM_PickPointMouseMove)->Unit(benchmark::kMicrosecond);

void BM_PickPatchMouseMove(benchmark::State& state) {
    const Model& model = bigModel();
    OrbitCamera camera;
    camera.gamma = 0.6f;
    PickAccelerator accelerator;
    accelerator.pickPatch(model, vm::identity(), camera, locateViewport(0, 0, 1200, 800, false));
    int x = 0;
    for (auto _ : state) {
        PatchPick pick = accelerator.pickPatch(model, vm::identity(), camera,
                                               locateViewport(x, 300, 1200, 800, false));
        benchmark::DoNotOptimize(pick);
        x = (x + 7) % 1200;
    }
}
BENCHMARK(BM_PickPatchMouseMove)->Unit(benchmark::kMicrosecond);

// The first pick after the camera moved: nothing about the view is kept, so every move of
// the mouse costs what the first one after a camera move costs.
void BM_PickAfterCameraMove(benchmark::State& state) {
    const Model& model = bigModel();
    std::vector<int> useCount;
    rebuildUseCount(model, useCount);
    OrbitCamera camera;
    PickAccelerator accelerator;
    accelerator.pickPoint(model, vm::identity(), vm::identity(), useCount, 0, 0); // model settles
    for (auto _ : state) {
        camera.theta += 0.001f;
        const vm::Mat4 viewProjection =
            camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
        PointPick pick =
            accelerator.pickPoint(model, vm::identity(), viewProjection, useCount, 0.1f, 0.1f);
        benchmark::DoNotOptimize(pick);
    }
}
BENCHMARK(BM_PickAfterCameraMove)->Unit(benchmark::kMillisecond);

void BM_PickPatchAfterCameraMove(benchmark::State& state) {
    const Model& model = bigModel();
    OrbitCamera camera;
    camera.gamma = 0.6f;
    PickAccelerator accelerator;
    accelerator.pickPatch(model, vm::identity(), camera, locateViewport(0, 0, 1200, 800, false));
    for (auto _ : state) {
        camera.theta += 0.001f;
        PatchPick pick = accelerator.pickPatch(model, vm::identity(), camera,
                                               locateViewport(500, 300, 1200, 800, false));
        benchmark::DoNotOptimize(pick);
    }
}
BENCHMARK(BM_PickPatchAfterCameraMove)->Unit(benchmark::kMillisecond);

// The first pick after an edit: a moved point refits the boxes, an added one joins the end,
// a removed one orders them all anew.
void BM_PickAfterEdit(benchmark::State& state) {
    Model model;
    generateSheet(model, 400, 250);
    std::vector<int> useCount;
    rebuildUseCount(model, useCount);
    const int64_t edit = state.range(0);
    OrbitCamera camera;
    const vm::Mat4 viewProjection =
        camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
    PickAccelerator accelerator;
    uint64_t revision = 0;
    accelerator.pickPoint(model, vm::identity(), viewProjection, useCount, 0, 0);
    for (auto _ : state) {
        state.PauseTiming();
        if (edit == 1) {
            model.points.push_back(model.points[0]);
            useCount.push_back(1);
        } else if (edit == 2) {
            model.points.pop_back();
            useCount.pop_back();
        } else {
            model.points[0].x += 0.01f;
        }
        accelerator.follow(++revision);
        state.ResumeTiming();
        PointPick pick =
            accelerator.pickPoint(model, vm::identity(), viewProjection, useCount, 0.1f, 0.1f);
        benchmark::DoNotOptimize(pick);
    }
}
BENCHMARK(BM_PickAfterEdit)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("moved_added_removed")
    ->Unit(benchmark::kMillisecond);

} // namespace
