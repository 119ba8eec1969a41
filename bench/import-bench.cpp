// Importing the sheet of 10,000 and 100,489 patches (100 × 100 and 317 × 317) from each
// format another program writes, beside reading the editor's own file of the same model.
// Target: each import within twice the own file's reading time, its peak within the file's
// size, the model's and 50 MB (peak_MB: the growth of the resident size's peak, so read it
// from a run of one benchmark, --benchmark_filter=...).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file-replace.h"
#include "core/mapped-file.h"
#include "generated-model.h"
#include "model/cad-export.h"
#include "model/obj-format.h"
#include "model/patch-import.h"

namespace {

enum Kind { Own, FreeFormObj, Iges, Step, PatchText, kKinds };
const char* const kNames[kKinds] = {"own.obj", "free-form.obj", "sheet.igs", "sheet.stp",
                                    "sheet.bpt"};
constexpr int kSides[] = {100, 317};

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// The patch text the classic teapot data comes in: a count, then "3 3" and 16 points a patch.
bool writePatchText(const Model& model, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "%zu\n", model.patches.size());
    for (const Model::Patch& patch : model.patches) {
        std::fputs("3 3\n", file);
        for (int32_t index : patch.indices) {
            const vm::Float3 p = model.points[static_cast<size_t>(index)];
            std::fprintf(file, "%.9g %.9g %.9g\n", static_cast<double>(p.x),
                         static_cast<double>(p.y), static_cast<double>(p.z));
        }
    }
    return std::fclose(file) == 0;
}

// The files written, removed when the run ends (a benchmark is run more than once).
struct WrittenFiles {
    std::vector<std::string> paths;
    ~WrittenFiles() {
        for (const std::string& path : paths)
            removeFile(path);
    }
};

// The sheet of side × side patches in a file of the kind, written once per run.
std::string sheetFile(int side, Kind kind) {
    static WrittenFiles files;
    const std::string path = "import-bench-" + std::to_string(side) + "-" + kNames[kind];
    for (const std::string& known : files.paths)
        if (known == path) return path;
    Model model;
    generateSheet(model, side, side);
    std::string reason;
    const bool written = kind == Own ? saveObj(model, path).ok()
                         : kind == PatchText
                             ? writePatchText(model, path)
                             : cad::exportSurfaces(model,
                                                   kind == Iges   ? cad::Format::Iges
                                                   : kind == Step ? cad::Format::Step
                                                                  : cad::Format::FreeFormObj,
                                                   path, reason);
    if (!written) return "";
    files.paths.push_back(path);
    return path;
}

void BM_ImportFile(benchmark::State& state) {
    const int side = kSides[state.range(0)];
    const Kind kind = static_cast<Kind>(state.range(1));
    const std::string path = sheetFile(side, kind);
    if (path.empty()) state.SkipWithError("cannot write the file");
    const double before = peakMegabytes();
    size_t patches = 0;
    for (auto _ : state) {
        Model model;
        if (kind == Own) {
            if (!loadObj(path, model, nullptr).ok()) state.SkipWithError("bad read");
        } else {
            MappedFile file;
            if (!file.open(path) || !importPatches(file.text(), model).ok)
                state.SkipWithError("bad import");
        }
        patches = model.patches.size();
        benchmark::DoNotOptimize(model.points.data());
    }
    const double bytes = static_cast<double>(std::filesystem::file_size(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["patches"] = static_cast<double>(patches);
    state.counters["peak_MB"] = peakMegabytes() - before;
    state.SetLabel(kNames[kind]);
}
// Each size's own file first: the reading the imports are measured against.
BENCHMARK(BM_ImportFile)
    ->ArgsProduct({{0, 1}, {Own, FreeFormObj, Iges, Step, PatchText}})
    ->ArgNames({"size", "kind"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
