// The undo history on a model of 100 000 patches (about 900 000 points). Targets: 200 point
// drags hold under 10 MB; one undo or redo of any step, a delete of half the model included,
// takes under 20 ms (the model's content and its use counts; the GPU copy and the shape
// window follow in the editor).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "editor/box-selection.h"
#include "editor/document.h"
#include "editor/edit-xform.h"
#include "editor/model-history.h"
#include "editor/model-operations.h"
#include "editor/outline-view.h"
#include "editor/recovery-writer.h"
#include "editor/selection.h"
#include "generated-model.h"
#include "model/memory-tree.h"
#include "model/shape-outline.h"

namespace {

// A model of 100 000 patches whose every other patch row was deleted, recorded as one step.
struct DeletedHalf {
    Model model = snapshotOf(hundredThousandPatches());
    History history;
    std::vector<int> use;
    DeletedHalf() {
        PendingPoints pending;
        for (size_t i = 0; i < model.patches.size(); ++i)
            model.patches[i].selected = (i / 400) % 2 == 0;
        const ModelCopy before = copyOf(model);
        deleteSelection(model, pending);
        history.record(changeBetween(before, model, "Delete"));
    }
};

void BM_History200PointDrags(benchmark::State& state) {
    Model model = snapshotOf(hundredThousandPatches());
    size_t bytes = 0;
    for (auto _ : state) {
        History history;
        for (uint32_t k = 0; k < 200; ++k) {
            const uint32_t index = (k * 4099u) % static_cast<uint32_t>(model.points.size());
            const vm::Float3 from = model.points[index];
            model.points[index].y += 0.01f;
            history.record(pointMove(model, index, from, "Move point"));
        }
        bytes = history.bytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["history_MB"] = static_cast<double>(bytes) / (1 << 20);
}
BENCHMARK(BM_History200PointDrags)->Unit(benchmark::kMillisecond);

// Thirty whole-model rotations of 100,000 patches, each one step of about 24 MB: the memory
// the history holds, bounded from the first step (range 1) and without a byte bound (range 0,
// what the history held when its bound started beyond 200 steps).
void BM_History30WholeModelRotations(benchmark::State& state) {
    Model model = snapshotOf(hundredThousandPatches());
    EditorState turning;
    turning.tool = Tool::Rotate;
    turning.transformDrag = true;
    turning.sweepAngle = 0.1f;
    size_t bytes = 0, steps = 0;
    for (auto _ : state) {
        History history(1000, state.range(0) ? History::kDefaultMaxBytes : SIZE_MAX);
        for (int k = 0; k < 30; ++k) {
            const ModelCopy before = copyOf(model);
            applyPreview(turning, model);
            history.record(changeBetween(before, model, "Rotate"));
        }
        bytes = history.bytes();
        steps = history.size();
    }
    state.counters["history_MB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["steps_kept"] = static_cast<double>(steps);
}
BENCHMARK(BM_History30WholeModelRotations)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Undo then redo of the delete of half the model: two steps' worth per iteration.
void BM_HistoryUndoRedoDeleteHalf(benchmark::State& state) {
    static DeletedHalf d;
    for (auto _ : state) {
        d.history.undo(d.model);
        rebuildUseCount(d.model, d.use);
        d.history.redo(d.model);
        rebuildUseCount(d.model, d.use);
        benchmark::DoNotOptimize(d.model.patches.data());
    }
    state.counters["step_MB"] = static_cast<double>(d.history.bytes()) / (1 << 20);
    state.counters["undo_or_redo_s"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HistoryUndoRedoDeleteHalf)->Unit(benchmark::kMillisecond);

// A rotation moves every point: undo and redo of it.
void BM_HistoryUndoRedoRotate(benchmark::State& state) {
    static Model model = snapshotOf(hundredThousandPatches());
    static History history = [] {
        History h;
        EditorState editor;
        editor.tool = Tool::Rotate;
        editor.transformDrag = true;
        editor.sweepAngle = 0.5f;
        const ModelCopy before = copyOf(model);
        applyPreview(editor, model);
        h.record(changeBetween(before, model, "Rotate"));
        return h;
    }();
    for (auto _ : state) {
        history.undo(model);
        history.redo(model);
        benchmark::DoNotOptimize(model.points.data());
    }
    state.counters["step_MB"] = static_cast<double>(history.bytes()) / (1 << 20);
    state.counters["undo_or_redo_s"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HistoryUndoRedoRotate)->Unit(benchmark::kMillisecond);

// What recording costs an operation on the large model: the copy before it and the
// comparison after it.
void BM_HistoryRecordAnEdit(benchmark::State& state) {
    const Model& model = hundredThousandPatches();
    for (auto _ : state) {
        const ModelCopy before = copyOf(model);
        ModelChange change = changeBetween(before, model, "Group");
        benchmark::DoNotOptimize(change);
    }
}
BENCHMARK(BM_HistoryRecordAnEdit)->Unit(benchmark::kMillisecond);

// A tree in memory whose point list, as the editor's, draws rows from the model when they show.
struct TreeWithDrawnRows : MemoryTree {
    void resetPointRows(size_t count, const std::function<std::string(size_t)>&) override {
        rows.assign(count, {});
    }
    void setPointRows(const std::vector<uint32_t>&,
                      const std::function<std::string(size_t)>&) override {}
};

// A delete of 5,000 patches spread over the large model as the editor runs it: one edit of
// the document, the shape window's tree (in memory, listed in folders) following it.
void BM_DeleteFiveThousandPatches(benchmark::State& state) {
    struct Scene {
        Model model = snapshotOf(hundredThousandPatches());
        Document document{model};
        TreeWithDrawnRows tree;
        OutlineView outline{tree};
        PendingPoints pending;
        Scene() {
            rebuildShapeOutline(tree, model);
            document.addView(&outline);
            for (size_t i = 0; i < model.patches.size(); i += 20)
                model.patches[i].selected = true;
        }
    };
    std::unique_ptr<Scene> scene;
    for (auto _ : state) {
        state.PauseTiming();
        scene.reset(); // made and dropped outside the measure
        scene = std::make_unique<Scene>();
        state.ResumeTiming();
        scene->document.edit("Delete", [&](Model& m) { deleteSelection(m, scene->pending); });
        benchmark::DoNotOptimize(scene->model.patches.size());
    }
}
BENCHMARK(BM_DeleteFiveThousandPatches)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

namespace {

// A box selection's release on 100,000 patches seen from above: about a quarter of them
// inside. Target: under 20 ms.
void BM_BoxSelection(benchmark::State& state) {
    static Model model = snapshotOf(hundredThousandPatches());
    const vm::Mat4 view = vm::lookAtRH({0, 6, -0.01f, 0}, {0, 0, 0, 0}, {0, 1, 0, 0});
    const vm::Mat4 m = view * vm::perspectiveFovRH(0.7853982f, 1.5f, 1, 1e6f);
    size_t chosen = 0;
    for (auto _ : state) {
        const std::vector<uint32_t> patches = patchesInBox(model, m, {-0.5f, -0.5f, 0.5f, 0.5f});
        selectBox(model, patches, {});
        chosen = patches.size();
        benchmark::DoNotOptimize(model.patches.data());
    }
    state.counters["patches_chosen"] = static_cast<double>(chosen);
}
BENCHMARK(BM_BoxSelection)->Unit(benchmark::kMillisecond);

} // namespace
