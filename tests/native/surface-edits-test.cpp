// Growing and refining surfaces: splitting exactly and without cracks, extruding and
// smoothing joins to within 0.1°, copies, and a random run of every command that keeps the
// model valid and undoes back to the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/file-replace.h"
#include "editor/document.h"
#include "editor/extrude-edges.h"
#include "editor/join-display.h"
#include "editor/patch-copies.h"
#include "editor/pending-points.h"
#include "editor/smooth-joins.h"
#include "editor/split-patches.h"
#include "model/bezier-surface.h"
#include "model/obj-format.h"

#include "join-checks.h"
#include "model/patch-import.h"

namespace {

Model builtIn() {
    Model model;
    model.createDefault();
    return model;
}

// A valid model: indices inside the pool, and every point used.
void expectSound(const Model& model) {
    ASSERT_TRUE(model.indicesValid());
    std::vector<bool> used(model.points.size());
    for (const Model::Patch& patch : model.patches)
        for (int32_t i : patch.indices)
            used[static_cast<size_t>(i)] = true;
    EXPECT_EQ(used.end(), std::find(used.begin(), used.end(), false));
}

float distance(vm::Float3 a, vm::Float3 b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

std::vector<uint8_t> chosenPoints(const Model& model, std::initializer_list<int32_t> points) {
    std::vector<uint8_t> chosen(model.points.size());
    for (int32_t i : points)
        chosen[static_cast<size_t>(i)] = 1;
    return chosen;
}

// How many pool points lie where the pole at `at` is.
size_t pointsAt(const Model& model, vm::Float3 at) {
    return static_cast<size_t>(std::count_if(model.points.begin(), model.points.end(),
                                             [&](vm::Float3 p) { return distance(p, at) == 0; }));
}

} // namespace

TEST(SurfaceEdits, SplitKeepsAPoleOnePointAndActsOnShownPatchesOnly) {
    // The lid's knob: four patches meet at its tip. A cut through one reaches the lid patch
    // below it, not the knob's other patches through the tip, and the tip stays one point.
    Model pot = teapot();
    const vm::Float3 tip = pot.points[static_cast<size_t>(pot.patches[20].indices[0])];
    const SplitResult split = splitStrip(pot, 20, SplitDirection::U, 0.5f);
    EXPECT_EQ(2u, split.patches);
    EXPECT_EQ(1u, pointsAt(pot, tip));
    expectSound(pot);

    // A hidden selected patch is no seed.
    Model band = builtIn();
    band.patches[0].visible = false;
    EXPECT_EQ(0u, splitPatches(band, {0}, SplitDirection::V, 0.5f).patches);
    band.patches[0].visible = true;

    // The add tool's pending pool points follow the pool's renumbering.
    PendingPoints pending;
    // The last point, and one a split across v leaves unused (inside a divided column).
    for (int32_t i : {47, band.patches[0].indices[5]})
        pending.push_back(std::make_unique<Editor::ExistingPoint>(band, i));
    const std::vector<vm::Vec4> before = pendingPositions(pending);
    const SplitResult cut = splitPatches(band, {0}, SplitDirection::V, 0.5f);
    ASSERT_EQ(1u, cut.patches);
    followRenumbering(pending, cut.renumbered, before);
    for (size_t k = 0; k < pending.size(); ++k)
        EXPECT_EQ(0, vm::length3(pending[k]->position() - before[k]));
    EXPECT_EQ(nullptr, dynamic_cast<Editor::ExistingPoint*>(pending[1].get()));
}

TEST(SurfaceEdits, SplitHalvesAreTheSameSurfaceAndTheStripSharesItsNewPoints) {
    for (SplitDirection direction : {SplitDirection::U, SplitDirection::V}) {
        Model model = builtIn();
        const auto before = bezier::controlPoints(model, model.patches[1]);
        const SplitResult split = splitStrip(model, 1, direction, 0.3f);
        ASSERT_EQ("", split.refusal);
        expectSound(model);
        // U crosses the ring's shared sides: all four split; V runs beside them: one alone.
        EXPECT_EQ(direction == SplitDirection::U ? 4u : 1u, split.patches);
        const auto a = bezier::controlPoints(model, model.patches[1]);
        // Patch 1's second half: the halves come in the order of the patches split.
        const auto at = std::find(split.strip.begin(), split.strip.end(), 1u);
        const size_t half = split.halves[static_cast<size_t>(at - split.strip.begin())];
        const auto b = bezier::controlPoints(model, model.patches[half]);
        for (float s : {0.0f, 0.25f, 0.5f, 1.0f})
            for (float w : {0.0f, 0.6f, 1.0f}) {
                const float u = direction == SplitDirection::U ? w : s;
                const float v = direction == SplitDirection::U ? s : w;
                const auto at = [&](float x, float y) {
                    return direction == SplitDirection::U ? bezier::evaluate(before, x, y)
                                                          : bezier::evaluate(before, y, x);
                };
                const float along = direction == SplitDirection::U ? u : v;
                const float across = direction == SplitDirection::U ? v : u;
                const vm::Float3 first = direction == SplitDirection::U
                                             ? bezier::evaluate(a, along, across)
                                             : bezier::evaluate(a, across, along);
                const vm::Float3 second = direction == SplitDirection::U
                                              ? bezier::evaluate(b, along, across)
                                              : bezier::evaluate(b, across, along);
                EXPECT_LT(distance(at(0.3f * along, across), first), 1e-5f);
                EXPECT_LT(distance(at(0.3f + 0.7f * along, across), second), 1e-5f);
            }
        // No crack: the ring still joins every patch to two others along whole sides.
        EXPECT_EQ(direction == SplitDirection::U ? 12u : 5u, sharedEdges(model).size());
    }
    Model model = builtIn();
    EXPECT_EQ(4u + 2u, splitIntoFour(model, {0}, 0.5f, 0.5f).patches); // the ring, then one pair
    expectSound(model);
    // A neighbour joined turned a quarter splits the other way, where it matches.
    Model turned = builtIn();
    Model::Patch& p = turned.patches[2];
    const Model::Patch was = p;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            p.indices[static_cast<size_t>(4 * c + r)] = was.indices[static_cast<size_t>(4 * r + c)];
    EXPECT_EQ(4u, splitStrip(turned, 0, SplitDirection::U, 0.3f).patches);
    EXPECT_EQ(12u, sharedEdges(turned).size());
    // A ring closed with a twist would need its first patch cut at 0.3 and at 0.7: refused
    // naming it, nothing changed.
    Model twisted = builtIn();
    std::reverse(twisted.patches[3].indices.begin() + 12, twisted.patches[3].indices.end());
    const std::string text = writeObj(twisted);
    const SplitResult refused = splitStrip(twisted, 0, SplitDirection::U, 0.3f);
    EXPECT_NE(std::string::npos, refused.refusal.find("patch 0"));
    EXPECT_EQ(text, writeObj(twisted));
}

TEST(SurfaceEdits, ExtrudedAndSmoothedJoinsAgreeWithinATenthOfADegree) {
    Model model = builtIn();
    model.patches.pop_back(); // the ring opened: patch 2's last row is free
    dropUnusedPoints(model);
    for (vm::Float3& p : model.points)
        p.x += 2; // off the mirror plane, where a symmetry's side joins its image, not free
    const std::array<int32_t, 4> edge = sidePoints(model.patches[2], Side::Bottom);
    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.patches[2].group = 0; // grown from a symmetry's patch: a patch of that symmetry
    ExtrudeResult grown =
        extrudeEdges(model, chosenPoints(model, {edge[0], edge[1], edge[2], edge[3]}));
    ASSERT_EQ(1u, grown.edges);
    EXPECT_EQ(4u, grown.farPoints.size());
    expectSound(model);
    EXPECT_TRUE(model.patches.back().selected && !model.patches[2].selected);
    EXPECT_EQ(0, model.patches.back().group);
    const SharedEdge joined{{2, Side::Bottom}, {3, Side::Top}, false};
    EXPECT_EQ(edge, sidePoints(model.patches[3], Side::Top));
    EXPECT_LT(joinAngle(model, joined), 0.1f);

    // Dragging the far row keeps the join; dragging the row next to it creases it, and
    // smoothing the two selected patches mends it without moving the edge.
    for (uint32_t i : grown.farPoints)
        model.points[i].y += 0.7f;
    EXPECT_LT(joinAngle(model, joined), 0.1f);
    model.points[static_cast<size_t>(model.patches[3].indices[5])].z += 0.4f;
    EXPECT_GT(joinAngle(model, joined), 5.0f);
    model.patches[2].selected = model.patches[3].selected = true;
    const vm::Float3 corner = model.points[static_cast<size_t>(edge[1])];
    EXPECT_EQ(0u, smoothSelectedJoins(model).rough.size());
    EXPECT_LT(joinAngle(model, joined), 0.1f);
    EXPECT_EQ(0, distance(corner, model.points[static_cast<size_t>(edge[1])]));
    EXPECT_LT(selectedJoins(model).largest, 0.1f);
    // The joins display: every shared edge in the shade of its angle, both sides lifted.
    const JoinLines lines = joinLines(model);
    EXPECT_EQ(sharedEdges(model).size() + mirrorPlaneSides(model).size(), lines.edges);
    EXPECT_EQ(lines.edges * 32, lines.shades[0].size() + lines.shades[1].size() +
                                    lines.shades[2].size() + lines.shades[3].size() +
                                    lines.shades[4].size());
    EXPECT_EQ(0, joinShade(0.5f));
    EXPECT_EQ(4, joinShade(90));

    // A symmetry's half whose side lies on x = 0: smoothing lines the next row up across it.
    Model half;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            half.points.push_back({float(c), 0.3f * float(c * c) + 0.2f * float(r), float(r)});
    Model::Patch patch;
    for (int i = 0; i < 16; ++i)
        patch.indices[static_cast<size_t>(i)] = i;
    patch.selected = true;
    patch.group = 0;
    half.patches.push_back(patch);
    half.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    ASSERT_EQ(1u, mirrorPlaneSides(half).size());
    EXPECT_GT(mirrorJoinAngle(half, mirrorPlaneSides(half)[0]), 1.0f);
    smoothSelectedJoins(half);
    EXPECT_LT(mirrorJoinAngle(half, mirrorPlaneSides(half)[0]), 0.1f);

    // Two free sides side by side grow two patches sharing the column they meet on.
    Model band = builtIn();
    band.patches.pop_back();
    dropUnusedPoints(band);
    const size_t points = band.points.size();
    std::vector<uint8_t> all(points, 1);
    ExtrudeResult many = extrudeEdges(band, all);
    EXPECT_EQ(8u, many.edges); // the open ring's two ends and its six sides
    // Sides in a row share the columns they meet on: 2 × 10 columns along the sides and
    // 2 × 4 at the ends, three new points each.
    EXPECT_EQ(points + (2 * 10 + 2 * 4) * 3, band.points.size());
    expectSound(band);
}

TEST(SurfaceEdits, CopiesMirrorsAndTheClipboardText) {
    Model model = builtIn();
    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.patches[0].group = 0;
    model.patches[0].selected = model.patches[1].selected = true;
    EXPECT_EQ(2u, duplicateSelection(model, {0.5f, 0, 0}));
    EXPECT_EQ(48u + 28u, model.points.size()); // the two patches' 28 points, copied once each
    EXPECT_EQ(0, model.patches[4].group);
    EXPECT_TRUE(model.patches[5].selected && !model.patches[0].selected);
    expectSound(model);

    // Copied as text and pasted into a model with its own Sym_0: the symmetry comes along
    // renamed, the patches with new points.
    const std::string text = selectionText(model);
    Model other = builtIn();
    other.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    std::string why;
    EXPECT_EQ(2u, pasteText(other, text, why));
    EXPECT_EQ(2u, other.groups.size());
    EXPECT_EQ("Sym_1", other.groups[1]->name);
    EXPECT_TRUE(other.isSymmetry(other.patches[4].group));
    EXPECT_EQ(48u + 28u, other.points.size());
    EXPECT_EQ(0u, pasteText(other, "not a model", why));
    EXPECT_NE("", why);

    // A mirrored copy about x = 0.5: its points mirror, and its surface faces the mirrored
    // way (its columns run back).
    Model ring = builtIn();
    ring.patches[0].selected = true;
    const auto original = bezier::controlPoints(ring, ring.patches[0]);
    EXPECT_EQ(1u, mirrorSelection(ring, Axis::X, {0.5f, 0, 0, 1}));
    const auto copy = bezier::controlPoints(ring, ring.patches[4]);
    const vm::Float3 p = bezier::evaluate(original, 0.2f, 0.7f);
    const vm::Float3 q = bezier::evaluate(copy, 0.8f, 0.7f);
    EXPECT_LT(distance({1 - p.x, p.y, p.z}, q), 1e-5f);
    const vm::Float3 n = bezier::normalAt(original, 0.2f, 0.7f);
    const vm::Float3 m = bezier::normalAt(copy, 0.8f, 0.7f);
    EXPECT_NEAR(-n.x, m.x, 1e-4f); // mirrored, not turned inside out
    EXPECT_NEAR(n.y, m.y, 1e-4f);
    expectSound(ring);

    // The symmetry made real: its mirror image joined on x = 0, a plain group holding both.
    Model sym = builtIn();
    sym.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    sym.patches[1].group = 0;
    sym.patches[1].selected = true;
    EXPECT_EQ(1u, makeSymmetriesReal(sym));
    EXPECT_FALSE(sym.isSymmetry(0));
    EXPECT_EQ(5u, sym.patches.size());
    EXPECT_EQ(0, sym.patches[4].group);
    size_t onPlane = 0; // patch 1 runs from x = 0 to x = −1.5: its column on x = 0 is shared
    for (int32_t i : sym.patches[4].indices)
        for (int32_t j : sym.patches[1].indices)
            onPlane += i == j;
    EXPECT_EQ(4u, onPlane);
}

TEST(SurfaceEdits, RandomCommandsKeepTheModelSoundAndUndoBackToTheSameBytes) {
    std::mt19937 random(27);
    constexpr int kBandRuns = 20, kTeapotRuns = 8;
    for (int run = 0; run < kBandRuns + kTeapotRuns; ++run) {
        // A random start: the band, its points moved a little, a copy of it turned a quarter
        // (rows and columns exchanged) beside it, some patches in a symmetry; or the teapot,
        // its poles and seams as they are.
        Model model = run < kBandRuns ? builtIn() : teapot();
        std::uniform_real_distribution<float> jitter(-0.1f, 0.1f);
        for (vm::Float3& p : model.points)
            if (run < kBandRuns)
                p = {p.x + jitter(random), p.y + jitter(random), p.z + jitter(random)};
        model.patches[0].selected = model.patches[1].selected = true;
        duplicateSelection(model, {3, 0, 0});
        for (size_t p = 4; p < model.patches.size(); ++p) {
            const Model::Patch was = model.patches[p];
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c)
                    model.patches[p].indices[static_cast<size_t>(4 * c + r)] =
                        was.indices[static_cast<size_t>(4 * r + c)];
        }
        model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
        for (Model::Patch& p : model.patches)
            p.group = random() % 3 == 0 ? 0 : -1;
        Document document(model);
        const std::string start = writeObj(model);
        int steps = 0;
        for (int k = 0; k < 12; ++k) {
            const auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
            const size_t patch = pick(model.patches.size());
            steps += document.edit("command", [&](Model& m) {
                for (Model::Patch& p : m.patches)
                    p.selected = pick(3) == 0;
                m.patches[patch].selected = true;
                switch (pick(8)) {
                case 0:
                    splitStrip(m, static_cast<uint32_t>(patch),
                               pick(2) ? SplitDirection::U : SplitDirection::V,
                               0.25f + 0.5f * float(pick(3)) / 2);
                    break;
                case 1:
                    extrudeAndCheck(m); // smooth on the side grown from
                    break;
                case 2:
                    duplicateSelection(m, {0.1f, 0, 0});
                    break;
                case 3:
                    mirrorSelection(m, pick(2) ? Axis::X : Axis::Z, {0, 0, 0, 1});
                    break;
                case 4:
                    smoothAndCheck(m); // no join worse, no shared edge moved
                    break;
                case 5:
                    splitIntoFour(m, {static_cast<uint32_t>(patch)}, 0.4f, 0.6f);
                    break;
                case 6:
                    makeSymmetriesReal(m);
                    break;
                default: {
                    std::string why;
                    pasteText(m, selectionText(m), why);
                }
                }
            });
            expectSound(model);
            expectPolesOnePoint(model);
            if (model.patches.size() > 400) break;
        }
        for (int k = 0; k < steps; ++k)
            document.undo();
        EXPECT_EQ(start, writeObj(model)) << "run " << run;
    }
}
