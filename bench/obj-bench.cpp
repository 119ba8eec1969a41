// Reading and writing model files of 100 000 patches.
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/obj-format.h"

namespace {

// A 400 × 250 sheet of patches sharing their edge points, gently curved, with a few groups
// and translucent patches: about 900 000 points and 100 000 patches.
const Model& bigModel() {
    static Model model = [] {
        Model m;
        const int across = 400, down = 250, columns = 3 * across + 1, rows = 3 * down + 1;
        m.points.reserve(static_cast<size_t>(columns) * rows);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                m.points.push_back({c * 0.0137f - 8.2f, std::sin(c * 0.01f) * std::cos(r * 0.013f),
                                    r * 0.0191f - 7.1f});
        for (int g = 0; g < 8; ++g)
            m.groups.push_back(std::make_unique<Model::Group>("group_" + std::to_string(g)));
        for (int pr = 0; pr < down; ++pr)
            for (int pc = 0; pc < across; ++pc) {
                Model::Patch patch;
                for (int r = 0; r < 4; ++r)
                    for (int c = 0; c < 4; ++c)
                        patch.indices[static_cast<size_t>(4 * r + c)] = (3 * pr + r) * columns + 3 * pc + c;
                if (pc % 50 == 0) patch.group = pr % 8;
                if (pc % 7 == 0) patch.alpha = 0.5f;
                m.patches.push_back(patch);
            }
        return m;
    }();
    return model;
}

void BM_WriteObj(benchmark::State& state) {
    const Model& model = bigModel();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string text = writeObj(model, nullptr);
        bytes += text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
    state.counters["patches"] = static_cast<double>(model.patches.size());
}
BENCHMARK(BM_WriteObj)->Unit(benchmark::kMillisecond);

void BM_ReadObj(benchmark::State& state) {
    const std::string text = writeObj(bigModel(), nullptr);
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
