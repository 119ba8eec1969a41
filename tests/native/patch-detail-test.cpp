// How finely patches are drawn: as finely as their size on the screen asks, in powers of two
// up to 32 segments, not at all outside the view, within a budget of vertices; the grids kept
// between frames and evaluated again only where the level changed or points moved.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "editor/gpu-copy-view.h"
#include "graphics/curvature-grids.h"
#include "graphics/patch-detail.h"
#include "graphics/patch-triangles.h"
#include "graphics/surface-cache.h"
#include "recording-gpu.h"
#include "view/orbit-camera.h"

namespace {

using detail::kNoGrid;
using detail::squareGrid;
using Grids = std::vector<detail::Grid>;

// A flat square patch of side `size` centred at (x, y, z), facing −z.
Model square(float size, float x = 0, float y = 0, float z = 0) {
    Model model;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            model.points.push_back({x + size * (c / 3.0f - 0.5f), y + size * (r / 3.0f - 0.5f), z});
    Model::Patch patch;
    for (int i = 0; i < 16; ++i)
        patch.indices[static_cast<size_t>(i)] = i;
    model.patches.push_back(patch);
    return model;
}

std::vector<detail::Grid> segmentsSeen(const Model& model,
                                       const vm::Mat4& mirror = vm::scaling(-1, 1, 1)) {
    OrbitCamera camera; // at (0, 0, −5) looking along +z
    const vm::Mat4 viewProjection =
        camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1.0f, 1000.0f);
    const vm::Mat4 world[2] = {vm::identity(), mirror};
    std::vector<detail::Grid> grids;
    detail::patchSegments(model, world, viewProjection, 1200, 800, grids);
    return grids;
}

} // namespace

TEST(PatchDetail, SegmentsFollowTheSizeOnTheScreen) {
    EXPECT_EQ(1, detail::segmentsFor(0));
    EXPECT_EQ(1, detail::segmentsFor(3));
    EXPECT_EQ(2, detail::segmentsFor(13));
    EXPECT_EQ(8, detail::segmentsFor(60)); // 7.5 pixels a segment
    EXPECT_EQ(32, detail::segmentsFor(256));
    EXPECT_EQ(2, detail::segmentsFor(60, detail::kWireframePixelsPerSegment));
    EXPECT_EQ(32, detail::segmentsFor(1e9f));
    EXPECT_EQ(1, detail::segmentsFor(std::nanf("")));

    EXPECT_EQ(Grids{squareGrid(32)}, segmentsSeen(square(2)));    // hundreds of pixels
    EXPECT_EQ(Grids{squareGrid(1)}, segmentsSeen(square(0.01f))); // two pixels
    EXPECT_EQ(Grids{squareGrid(4)}, segmentsSeen(square(0.1f)));  // about 20 pixels
    // About 12 pixels: a bulging patch at its size's level, a flat one as one quad, a slight
    // bulge (a third of a pixel) too.
    Model bulging = square(0.06f);
    for (size_t i : {5, 6, 9, 10})
        bulging.points[i].z -= 0.02f;
    EXPECT_EQ(Grids{squareGrid(2)}, segmentsSeen(bulging));
    EXPECT_EQ(Grids{squareGrid(1)}, segmentsSeen(square(0.06f)));
    for (size_t i : {5, 6, 9, 10})
        bulging.points[i].z = -0.001f;
    EXPECT_EQ(Grids{squareGrid(1)}, segmentsSeen(bulging));

    // A heap of large patches is drawn coarser, never beyond the budget.
    Grids heap(1000, squareGrid(32));
    heap.push_back(squareGrid(2));
    detail::keepWithin(100000, heap);
    EXPECT_EQ(squareGrid(8), heap[0]); // 1,000 patches of 81 vertices; of 289 they would not fit
    EXPECT_EQ(squareGrid(2), heap.back());
}

// Seen edge-on, a patch's sides are short on the screen while its bulge is not: the bulge
// across the view keeps the segments it needs; bent one way only, it needs them that way alone.
TEST(PatchDetail, ABulgeSeenEdgeOnKeepsItsSegments) {
    Model strip = square(0.06f);
    for (size_t i = 0; i < 16; ++i) { // the sides run mostly along the view (z)
        vm::Float3& p = strip.points[i];
        const float u = static_cast<float>(i % 4) / 3, v = static_cast<float>(i / 4) / 3;
        p = {0.05f * u, (i % 4 == 1 || i % 4 == 2) ? 0.01f : 0.0f, 0.3f * u + 0.4f * v};
    }
    const detail::Grid grid = segmentsSeen(strip)[0]; // about 10 pixels across
    EXPECT_EQ(2, detail::across(grid)); // one quad would miss the bulge by about 1.4 pixels
    EXPECT_EQ(1, detail::down(grid));   // straight that way
}

TEST(PatchDetail, PatchesOutsideTheViewOrHiddenAreNotDrawn) {
    EXPECT_EQ(Grids{kNoGrid}, segmentsSeen(square(1, 50, 0, 0)));   // far to one side
    EXPECT_EQ(Grids{kNoGrid}, segmentsSeen(square(1, 0, 0, -20)));  // behind the eye
    EXPECT_EQ(Grids{kNoGrid}, segmentsSeen(square(1, 0, 0, 5000))); // beyond the far plane
    // Across the eye's plane: drawn, at full detail.
    Model across = square(20, 0, 0, -5);
    for (auto& p : across.points)
        p.z += p.y; // tilted through the eye's plane
    EXPECT_EQ(Grids{squareGrid(32)}, segmentsSeen(across));
    Model hidden = square(2);
    hidden.patches[0].visible = false;
    EXPECT_EQ(Grids{kNoGrid}, segmentsSeen(hidden));
}

TEST(PatchDetail, ASymmetryGetsTheFinerOfItsTwoCopies) {
    Model model = square(1, 50, 0, 0); // outside the view; its mirror image too, at x = −50
    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.patches[0].group = 0;
    EXPECT_EQ(Grids{kNoGrid}, segmentsSeen(model));
    // A mirror that brings the copy into the view.
    EXPECT_EQ(Grids{squareGrid(32)}, segmentsSeen(model, vm::translation(-50, 0, 0)));
}

TEST(PatchDetail, EveryLevelsGridLiesOnTheSurfaceAndIsCoveredWhole) {
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 3, 0, 3, 2}), detail::triangleIndices(squareGrid(1)));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 4, 0, 4, 3, 1, 2, 5, 1, 5, 4}),
              detail::triangleIndices(detail::gridOf(2, 1)));
    EXPECT_TRUE(detail::triangleIndices(kNoGrid).empty());
    Model model;
    model.createDefault();
    const auto net = bezier::controlPoints(model, model.patches[1]);
    for (int a = 1; a <= detail::kMaxSegments; a *= 2)
        for (int d = 1; d <= detail::kMaxSegments; d *= 2) {
            const detail::Grid grid = detail::gridOf(a, d);
            ASSERT_EQ(a, detail::across(grid));
            ASSERT_EQ(d, detail::down(grid));
            const std::vector<uint32_t>& t = detail::triangleIndices(grid);
            ASSERT_EQ(size_t(6 * a * d), t.size());
            const std::set<uint32_t> used(t.begin(), t.end());
            EXPECT_EQ(detail::gridVertices(grid), used.size()) << a << " " << d;
            EXPECT_EQ(detail::gridVertices(grid) - 1, *used.rbegin()) << a << " " << d;
            std::vector<vm::Float3> at(detail::gridVertices(grid)), normals(at.size());
            bezier::tessellateGrid(net, a, d, at.data(), normals.data());
            for (int j = 0; j <= d; j += std::max(1, d / 4))
                for (int i = 0; i <= a; i += std::max(1, a / 4)) {
                    const float u = float(i) / float(a), v = float(j) / float(d);
                    const vm::Float3 p = bezier::evaluate(net, u, v),
                                     q = bezier::normalAt(net, u, v);
                    const vm::Float3 &g = at[size_t(j * (a + 1) + i)],
                                     &m = normals[size_t(j * (a + 1) + i)];
                    EXPECT_NEAR(0, std::hypot(p.x - g.x, p.y - g.y, p.z - g.z), 1e-5) << a << d;
                    EXPECT_NEAR(0, std::hypot(q.x - m.x, q.y - m.y, q.z - m.z), 1e-4) << a << d;
                }
        }
}

// The evaluated grids follow the model through its document: a moved point evaluates only
// its patches again (the same grids a full evaluation gives), a change of level lays the
// grids out anew but evaluates only that patch, a change of topology evaluates every patch,
// and the vertex buffer receives only the stretch of points that moved. The curvature
// display's values follow the grids the same way, while it shows.
TEST(SurfaceCache, OnlyWhatMovedOrChangedLevelIsEvaluatedAgain) {
    RecordingGpu gpu; // outlives the copy's buffers
    GpuModelCopy copy;
    copy.setFactory(&gpu);
    GpuCopyView follower(copy);
    Model model;
    Document document(model);
    document.addView(&follower);
    Model start;
    start.createDefault();
    document.replace(std::move(start), "", "", true);
    ASSERT_EQ(2, gpu.live); // the points, and every patch's indices
    Grids levels{squareGrid(4), squareGrid(4), squareGrid(2), kNoGrid};
    SurfaceCache cache;
    // Every grid goes up, with the room after them.
    const SurfaceCache::Ranges all = cache.update(model, copy, levels);
    ASSERT_EQ(1u, all.size());
    EXPECT_EQ(0u, all[0].first);
    EXPECT_LE(25u + 25 + 9, all[0].second);
    EXPECT_TRUE(cache.relaid());
    EXPECT_TRUE(cache.update(model, copy, levels).empty()); // nothing moved
    CurvatureGrids curvatures;
    auto sameAsFresh = [&] {
        SurfaceCache fresh;
        fresh.update(model, copy, levels);
        std::vector<CurvatureGrids::Values> expected(cache.vertices().size());
        for (size_t i = 0; i < levels.size(); ++i)
            if (levels[i] != kNoGrid)
                curvatureGrid(bezier::controlPoints(model, model.patches[i]),
                              detail::across(levels[i]), detail::down(levels[i]),
                              &expected[cache.firstVertex(i)]);
        return fresh.vertices().size() == cache.vertices().size() &&
               std::memcmp(fresh.vertices().data(), cache.vertices().data(),
                           cache.vertices().size() * sizeof(vm::Float3)) == 0 &&
               expected == curvatures.values();
    };
    curvatures.follow(model, cache, {}, true);

    const auto corner = static_cast<uint32_t>(model.patches[1].indices[15]); // shared or not
    const ModelCopy before = copyOf(model);
    document.preview([&](Model& m) {
        m.points[corner].y += 0.25f;
        return std::vector<uint32_t>{corner};
    });
    EXPECT_EQ(1, gpu.rangeUpdates);
    EXPECT_EQ(1u, gpu.pointsUploaded);
    const SurfaceCache::Ranges& changed = cache.update(model, copy, levels);
    EXPECT_EQ(changed, curvatures.follow(model, cache, changed, true));
    size_t users = 0;
    for (size_t i = 0; i < 3; ++i) // the fourth is not drawn
        users += std::count(model.patches[i].indices.begin(), model.patches[i].indices.end(),
                            static_cast<int32_t>(corner)) > 0;
    EXPECT_EQ(users, cache.evaluated());
    EXPECT_FALSE(cache.relaid());
    EXPECT_FALSE(changed.empty());
    EXPECT_TRUE(sameAsFresh());
    // The gesture's step does not send its points again; its undo sends them alone.
    ASSERT_TRUE(document.record(changeBetween(before, model, "Move")));
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(2, gpu.rangeUpdates);
    EXPECT_EQ(2u, gpu.pointsUploaded);
    // Hidden meanwhile: the curvatures are worked out again when the display comes back.
    EXPECT_TRUE(curvatures.follow(model, cache, cache.update(model, copy, levels), false).empty());
    EXPECT_EQ(users, cache.evaluated());
    curvatures.follow(model, cache, {}, true);
    EXPECT_TRUE(sameAsFresh());

    levels[3] = squareGrid(8); // comes into view
    EXPECT_EQ(0u, cache.update(model, copy, levels).at(0).first);
    curvatures.follow(model, cache, {{0, 59 + 81}}, true);
    EXPECT_EQ(1u, cache.evaluated());
    EXPECT_TRUE(cache.relaid());
    EXPECT_EQ(59u, cache.firstVertex(3));
    EXPECT_TRUE(sameAsFresh());

    // A whole-pool update or new buffers: every patch again.
    copy.allPointsMoved(model);
    EXPECT_EQ(4u, (cache.update(model, copy, levels), cache.evaluated()));
    document.edit("Delete", [](Model& m) { m.patches.pop_back(); });
    EXPECT_EQ(2, gpu.live);
    levels.pop_back();
    EXPECT_EQ(0u, cache.update(model, copy, levels).at(0).first);
    EXPECT_TRUE(cache.relaid());
}

// A few patches drawn finer (an orbit, a drag) lay out their block alone: the other blocks'
// grids and triangles stay where they are, and only the block's stretch goes up again.
TEST(SurfaceCache, APatchChangingLevelLaysOutItsBlockAlone) {
    Model model;
    for (int k = 0; k < 3000; ++k) {
        const Model one = square(1, static_cast<float>(k));
        Model::Patch patch = one.patches[0];
        for (int32_t& index : patch.indices)
            index += static_cast<int32_t>(model.points.size());
        model.points.insert(model.points.end(), one.points.begin(), one.points.end());
        model.patches.push_back(patch);
    }
    model.patches[1600].alpha = 0.5f; // translucent: drawn after its block's opaque patches
    RecordingGpu gpu;
    GpuModelCopy copy;
    copy.setFactory(&gpu);
    copy.rebuild(model);
    Grids levels(model.patches.size(), squareGrid(1));
    SurfaceCache cache;
    PatchTriangles triangles;
    cache.update(model, copy, levels);
    triangles.follow(model, cache, true);
    ASSERT_EQ(3u, cache.blocks());
    const std::vector<uint32_t> before = triangles.indices();
    CurvatureGrids curvatures;
    curvatures.follow(model, cache, {}, true);

    levels[1500] = squareGrid(8);
    const SurfaceCache::Ranges changed = cache.update(model, copy, levels);
    EXPECT_TRUE(cache.relaid() && !cache.relaidAll());
    EXPECT_EQ(std::vector<uint32_t>{1}, cache.relaidBlocks());
    EXPECT_EQ(1u, cache.evaluated());
    ASSERT_EQ(1u, changed.size());
    EXPECT_LE(cache.firstVertex(cache.blockFirst(1)), changed[0].first);
    EXPECT_GE(cache.firstVertex(cache.blockFirst(2)), changed[0].second);
    EXPECT_EQ(changed, curvatures.follow(model, cache, changed, true));
    const PatchTriangles::Ranges sent = triangles.follow(model, cache, false);
    EXPECT_FALSE(triangles.laidAnew());
    ASSERT_EQ(1u, sent.size());
    // Outside the block nothing moved; inside it every patch's triangles index its own grid.
    EXPECT_TRUE(
        std::equal(before.begin(), before.begin() + sent[0].first, triangles.indices().begin()));
    EXPECT_TRUE(std::equal(before.begin() + triangles.first(2048), before.end(),
                           triangles.indices().begin() + triangles.first(2048)));
    for (uint32_t i : {1024u, 1500u, 1600u, 2047u}) {
        const uint32_t n = detail::gridVertices(levels[i]);
        const int across = detail::across(levels[i]), down = detail::down(levels[i]);
        EXPECT_EQ(6u * across * down, triangles.end(i) - triangles.first(i));
        EXPECT_EQ(cache.firstVertex(i), triangles.indices()[triangles.first(i)]);
        std::vector<vm::Float3> grid(n), normals(n);
        bezier::tessellateGrid(bezier::controlPoints(model, model.patches[i]), across, down,
                               grid.data(), normals.data());
        EXPECT_EQ(0, std::memcmp(grid.data(), &cache.vertices()[cache.firstVertex(i)],
                                 n * sizeof(vm::Float3)));
        std::vector<CurvatureGrids::Values> values(n);
        curvatureGrid(bezier::controlPoints(model, model.patches[i]), across, down, values.data());
        EXPECT_TRUE(std::equal(values.begin(), values.end(),
                               curvatures.values().begin() + cache.firstVertex(i)));
    }
    EXPECT_GT(triangles.first(1600), triangles.first(2047)); // after the opaque ones

    // A block with no room left: everything anew.
    std::fill(levels.begin() + 1024, levels.begin() + 2048, squareGrid(32));
    cache.update(model, copy, levels);
    EXPECT_TRUE(cache.relaidAll());
    triangles.follow(model, cache, false);
    EXPECT_TRUE(triangles.laidAnew());
}
