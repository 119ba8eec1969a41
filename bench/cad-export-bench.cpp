// The exact export of the 100,000-patch sheet as IGES, STEP and free-form OBJ, written to a
// file. Targets: under 2 s each, the memory beyond the model's under 100 MB (the resident
// size's growth during the export, reported as peak_MB).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "core/file-replace.h"
#include "generated-model.h"
#include "model/cad-export.h"

namespace {

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void BM_ExactExport(benchmark::State& state) {
    const Model& model = hundredThousandPatches();
    const cad::Format format = static_cast<cad::Format>(state.range(0));
    const char* names[] = {"sheet.igs", "sheet.step", "sheet-free-form.obj"};
    const std::string path = std::string("cad-bench-") + names[state.range(0)];
    const double before = peakMegabytes();
    int64_t bytes = 0;
    for (auto _ : state) {
        std::string reason;
        if (!cad::exportSurfaces(model, format, path, reason)) state.SkipWithError(reason.c_str());
        std::error_code error;
        bytes += static_cast<int64_t>(std::filesystem::file_size(path, error));
    }
    state.SetBytesProcessed(bytes);
    state.counters["peak_MB"] = peakMegabytes() - before;
    state.SetLabel(names[state.range(0)]);
    removeFile(path);
}
BENCHMARK(BM_ExactExport)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
