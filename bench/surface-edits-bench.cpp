// The surface commands on 10,000 selected patches: a 100 × 100 sheet all selected, and the
// first 10,000 of the 100,000-patch sheet. Targets: each command under 50 ms, its undo under
// 20 ms. The joins display's lines of the whole model are measured too.
#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "editor/curvature-joins.h"
#include "editor/extrude-edges.h"
#include "editor/join-display.h"
#include "editor/model-history.h"
#include "editor/patch-copies.h"
#include "editor/patch-sides.h"
#include "editor/recovery-writer.h"
#include "editor/smooth-joins.h"
#include "editor/split-patches.h"
#include "generated-model.h"

namespace {

// The sheet with its first 10,000 patches selected; range 0 the 10,000-patch sheet, 1 the
// 100,000-patch one.
Model selectedSheet(int which) {
    static const Model small = [] {
        Model m;
        generateSheet(m, 100, 100);
        return m;
    }();
    Model model = snapshotOf(which == 0 ? small : hundredThousandPatches());
    for (size_t p = 0; p < model.patches.size() && p < 10000; ++p)
        model.patches[p].selected = true;
    return model;
}

using Command = std::function<void(Model&)>;

const Command kCommands[] = {
    [](Model& m) {
        std::vector<uint32_t> selected;
        for (uint32_t p = 0; p < m.patches.size(); ++p)
            if (m.patches[p].selected) selected.push_back(p);
        // Across v: the strips run along the sheet's rows, so the 10,000 patches (whole rows
        // of either sheet) are what splits.
        splitPatches(m, selected, SplitDirection::V, 0.5f);
    },
    [](Model& m) {
        // The points of the selected patches chosen: their free sides grow.
        std::vector<uint8_t> chosen(m.points.size());
        for (const Model::Patch& p : m.patches)
            if (p.selected)
                for (int32_t i : p.indices)
                    chosen[static_cast<size_t>(i)] = 1;
        extrudeEdges(m, chosen);
    },
    [](Model& m) {
        duplicateSelection(m, {0.1f, 0, 0});
    },
    [](Model& m) {
        mirrorSelection(m, Axis::X, {0, 0, 0, 1});
    },
    [](Model& m) { benchmark::DoNotOptimize(selectionText(m).size()); },
    [](Model& m) {
        // 10,000 patches of model text, as the clipboard would hold them.
        static const std::string text = selectionText(selectedSheet(0));
        std::string why;
        pasteText(m, text, why);
    },
    [](Model& m) { smoothSelectedJoins(m); },
    [](Model& m) { matchSelectedCurvature(m); },
};
const char* const kNames[] = {"split", "extrude", "duplicate", "mirror",
                              "copy",  "paste",   "smooth",    "match curvature"};

std::string labelOf(const benchmark::State& state) {
    return std::string(kNames[state.range(1)]) +
           (state.range(0) == 0 ? " of a 10k sheet" : " of 10k in a 100k sheet");
}

void BM_SurfaceCommand(benchmark::State& state) {
    const Command& command = kCommands[state.range(1)];
    state.SetLabel(labelOf(state));
    const Model start = selectedSheet(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Model model = snapshotOf(start);
        state.ResumeTiming();
        command(model);
        benchmark::DoNotOptimize(model.patches.data());
        state.PauseTiming();
        model = Model{}; // its release is not the command's
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SurfaceCommand)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3, 4, 5, 6, 7}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The step each command leaves, undone (and done again, untimed).
void BM_SurfaceCommandUndo(benchmark::State& state) {
    state.SetLabel(labelOf(state));
    Model model = selectedSheet(static_cast<int>(state.range(0)));
    const ModelCopy before = copyOf(model);
    kCommands[state.range(1)](model);
    History history;
    history.record(changeBetween(before, model, "command"));
    for (auto _ : state) {
        history.undo(model);
        state.PauseTiming();
        history.redo(model);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SurfaceCommandUndo)
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3, 4, 5, 6}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The joins display's lines of every shared edge of the whole sheet.
void BM_JoinLines(benchmark::State& state) {
    const Model model = selectedSheet(static_cast<int>(state.range(0)));
    size_t edges = 0;
    for (auto _ : state)
        edges = joinLines(model).edges;
    state.counters["edges"] = static_cast<double>(edges);
}
BENCHMARK(BM_JoinLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

namespace {
void BM_SideIndex(benchmark::State& state) {
    const Model& model = hundredThousandPatches();
    for (auto _ : state) {
        SideIndex index(model, true);
        benchmark::DoNotOptimize(&index);
    }
}
BENCHMARK(BM_SideIndex)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

namespace {
// T with every patch of the sheet selected: 10,000 patches (19,800 joins), then 100,000
// (199,350 joins).
void BM_SmoothWholeSheet(benchmark::State& state) {
    static const Model small = [] {
        Model m;
        generateSheet(m, 100, 100);
        return m;
    }();
    Model start = snapshotOf(state.range(0) == 0 ? small : hundredThousandPatches());
    for (Model::Patch& patch : start.patches)
        patch.selected = true;
    for (auto _ : state) {
        state.PauseTiming();
        Model model = snapshotOf(start);
        state.ResumeTiming();
        smoothSelectedJoins(model);
        state.PauseTiming();
        model = Model{};
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SmoothWholeSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);
} // namespace
