// Reading and writing model files of 100 000 patches.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "core/file-replace.h"
#include "generated-model.h"
#include "model/mesh-export.h"
#include "model/obj-format.h"

namespace {

const Model& bigModel() {
    return hundredThousandPatches();
}

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

// Opening a file as the editor and `tavrel-obj check` do: 1.6 million points of their own
// (no two patches share one) in about 60 MB, read from the file cache.
void BM_LoadLargeFile(benchmark::State& state) {
    const std::string path = "obj-bench-large.obj";
    {
        Model model;
        for (int p = 0; p < 100000; ++p) {
            Model::Patch patch;
            for (int k = 0; k < 16; ++k) {
                const float t = static_cast<float>(p * 16 + k);
                model.points.push_back(
                    {std::sin(t) * 97.31f, std::cos(t * 0.7f) * 43.9f, t * 1e-4f});
                patch.indices[static_cast<size_t>(k)] = p * 16 + k;
            }
            model.patches.push_back(patch);
        }
        if (!saveObj(model, path).ok()) state.SkipWithError("cannot write the file");
    }
    std::string text;
    readFileContents(path, text);
    for (auto _ : state) {
        Model model;
        ObjResult result = loadObj(path, model, nullptr);
        if (!result.ok() || model.patches.size() != 100000) state.SkipWithError("bad read");
        benchmark::DoNotOptimize(model.points.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    removeFile(path);
}
BENCHMARK(BM_LoadLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Export of the 100 000-patch model at 8 segments per edge, tessellation and writing together.
void BM_ExportMesh(benchmark::State& state) {
    const Model& model = bigModel();
    const auto format = state.range(0) == 0 ? mesh::Format::Stl : mesh::Format::Obj;
    const std::string path =
        format == mesh::Format::Stl ? "obj-bench-export.stl" : "obj-bench-export.obj";
    int64_t bytes = 0;
    for (auto _ : state) {
        std::string reason;
        if (!mesh::exportModel(model, format, mesh::kDefaultSegments, path, reason))
            state.SkipWithError(reason.c_str());
        std::error_code error;
        bytes += static_cast<int64_t>(std::filesystem::file_size(path, error));
    }
    state.SetBytesProcessed(bytes);
    removeFile(path);
}
BENCHMARK(BM_ExportMesh)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("stl_obj")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
