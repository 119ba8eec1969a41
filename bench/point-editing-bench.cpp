// Shaping many points at once on 100,000 patches (about 900,000 points): a rubber band over
// the whole sheet, a scale step of every point, the undo of a whole-sheet scale, and a point
// drag with the joins around it kept smooth (its press and each of its steps).
#include <benchmark/benchmark.h>

#include "editor/live-joins.h"
#include "editor/model-history.h"
#include "editor/point-selection.h"
#include "editor/point-transform.h"
#include "editor/recovery-writer.h"
#include "generated-model.h"

namespace {

// Seen from above, the sheet (x and z within ±1.5) fills the screen.
const vm::Mat4 kTopDown = {{{0.6f, 0, 0, 0}, {0, 0, 0.5f, 0}, {0, 0.6f, 0, 0}, {0, 0, 0.5f, 1}}};

void BM_PointBandOverEveryPoint(benchmark::State& state) {
    const Model& model = hundredThousandPatches();
    PointSelection chosen;
    for (auto _ : state) {
        chosen.choose(pointsInBox(model, kTopDown, {-1, -1, 1, 1}), {}, model.points.size());
        benchmark::DoNotOptimize(chosen.size());
    }
    state.counters["points"] = static_cast<double>(chosen.size());
}
BENCHMARK(BM_PointBandOverEveryPoint)->Unit(benchmark::kMillisecond);

// One step of a scale drag: every point put where the factor takes it from the start.
void BM_PointScaleStepOfEveryPoint(benchmark::State& state) {
    Model model = snapshotOf(hundredThousandPatches());
    const std::vector<uint32_t> points = shownPoints(model);
    std::vector<vm::Float3> from;
    for (uint32_t i : points)
        from.push_back(model.points[i]);
    const std::vector<uint8_t> plane = onMirrorPlane(model);
    PointTransform t;
    t.kind = PointTransform::Kind::Scale;
    float factor = 1;
    for (auto _ : state) {
        t.factor = factor += 0.01f;
        benchmark::DoNotOptimize(transformPoints(model, points, from, t, plane));
    }
    state.counters["points"] = static_cast<double>(points.size());
}
BENCHMARK(BM_PointScaleStepOfEveryPoint)->Unit(benchmark::kMillisecond);

// The step a whole-sheet scale leaves, undone and done again.
void BM_PointScaleUndoRedo(benchmark::State& state) {
    Model model = snapshotOf(hundredThousandPatches());
    const ModelCopy before = copyOf(model);
    for (vm::Float3& p : model.points)
        p = {p.x * 1.5f, p.y * 1.5f, p.z * 1.5f};
    History history;
    history.record(changeBetween(before, model, "Scale"));
    for (auto _ : state) {
        history.undo(model);
        history.redo(model);
        benchmark::DoNotOptimize(model.points.data());
    }
    state.counters["undo_or_redo_s"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PointScaleUndoRedo)->Unit(benchmark::kMillisecond);

// A drag of the point beside a corner in the middle of the sheet (made flat, so that every
// join is smooth), with the joins around it kept: the press finds them, each step follows.
Model flatSheet() {
    Model model = snapshotOf(hundredThousandPatches());
    for (vm::Float3& p : model.points)
        p.y = 0;
    return model;
}
constexpr uint32_t kColumns = 3 * 400 + 1;
constexpr uint32_t kBesideCorner = (3 * 125 + 1) * kColumns + 3 * 200 + 1;

void BM_LiveJoinsPress(benchmark::State& state) {
    const Model model = flatSheet();
    LiveJoins joins;
    for (auto _ : state) {
        joins.begin(model, {kBesideCorner});
        benchmark::DoNotOptimize(joins.active());
    }
}
BENCHMARK(BM_LiveJoinsPress)->Unit(benchmark::kMillisecond);

void BM_LiveJoinsDragStep(benchmark::State& state) {
    Model model = flatSheet();
    LiveJoins joins;
    joins.begin(model, {kBesideCorner});
    float y = 0;
    size_t followed = 0;
    for (auto _ : state) {
        model.points[kBesideCorner].y = y += 0.001f;
        followed = joins.follow(model, {kBesideCorner}).size();
    }
    state.counters["followed"] = static_cast<double>(followed);
}
BENCHMARK(BM_LiveJoinsDragStep)->Unit(benchmark::kMicrosecond);

} // namespace
