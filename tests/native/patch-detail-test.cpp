// How finely patches are drawn: coarser when small on the screen, not at all outside the
// view, never finer than the fixed factor, always on grid points of the surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "graphics/patch-detail.h"
#include "graphics/surface-cache.h"
#include "recording-gpu.h"
#include "view/orbit-camera.h"

namespace {

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

std::vector<uint8_t> segmentsSeen(const Model& model,
                                  const vm::Mat4& mirror = vm::scaling(-1, 1, 1)) {
    OrbitCamera camera; // at (0, 0, −5) looking along +z
    const vm::Mat4 viewProjection =
        camera.viewMatrix() * vm::perspectiveFovRH(0.7853982f, 1.5f, 1.0f, 1000.0f);
    const vm::Mat4 world[2] = {vm::identity(), mirror};
    std::vector<uint8_t> segments;
    detail::patchSegments(model, world, viewProjection, 1200, 800, segments);
    return segments;
}

} // namespace

TEST(PatchDetail, SegmentsFollowTheSizeOnTheScreen) {
    EXPECT_EQ(1, detail::segmentsFor(0));
    EXPECT_EQ(1, detail::segmentsFor(3));
    EXPECT_EQ(2, detail::segmentsFor(13));
    EXPECT_EQ(5, detail::segmentsFor(60));
    EXPECT_EQ(5, detail::segmentsFor(1e9f));
    EXPECT_EQ(1, detail::segmentsFor(std::nanf("")));

    EXPECT_EQ(std::vector<uint8_t>{5}, segmentsSeen(square(2)));     // hundreds of pixels
    EXPECT_EQ(std::vector<uint8_t>{1}, segmentsSeen(square(0.01f))); // two pixels
    const uint8_t middle = segmentsSeen(square(0.1f)).at(0);         // about 20 pixels
    EXPECT_GT(middle, 1);
    EXPECT_LT(middle, 5);
}

TEST(PatchDetail, PatchesOutsideTheViewOrHiddenAreNotDrawn) {
    EXPECT_EQ(std::vector<uint8_t>{0}, segmentsSeen(square(1, 50, 0, 0)));   // far to one side
    EXPECT_EQ(std::vector<uint8_t>{0}, segmentsSeen(square(1, 0, 0, -20)));  // behind the eye
    EXPECT_EQ(std::vector<uint8_t>{0}, segmentsSeen(square(1, 0, 0, 5000))); // beyond the far plane
    // Across the eye's plane: drawn, at full detail.
    Model across = square(20, 0, 0, -5);
    for (auto& p : across.points)
        p.z += p.y; // tilted through the eye's plane
    EXPECT_EQ(std::vector<uint8_t>{5}, segmentsSeen(across));
    Model hidden = square(2);
    hidden.patches[0].visible = false;
    EXPECT_EQ(std::vector<uint8_t>{0}, segmentsSeen(hidden));
}

TEST(PatchDetail, ASymmetryGetsTheFinerOfItsTwoCopies) {
    Model model = square(1, 50, 0, 0); // outside the view; its mirror image too, at x = −50
    model.groups.push_back(std::make_unique<Model::Symmetry>("Sym_0"));
    model.patches[0].group = 0;
    EXPECT_EQ(std::vector<uint8_t>{0}, segmentsSeen(model));
    // A mirror that brings the copy into the view.
    EXPECT_EQ(std::vector<uint8_t>{5}, segmentsSeen(model, vm::translation(-50, 0, 0)));
}

TEST(PatchDetail, CoarserLevelsUseGridPointsAndCoverTheWholePatch) {
    EXPECT_EQ(
        std::vector<uint32_t>(bezier::triangleIndices().begin(), bezier::triangleIndices().end()),
        detail::triangleIndices(5));
    EXPECT_EQ((std::vector<uint32_t>{0, 5, 35, 0, 35, 30}), detail::triangleIndices(1));
    EXPECT_TRUE(detail::triangleIndices(0).empty());
    for (int n = 1; n <= 5; ++n) {
        const std::vector<uint32_t>& t = detail::triangleIndices(n);
        ASSERT_EQ(size_t(6 * n * n), t.size());
        std::set<uint32_t> used(t.begin(), t.end());
        EXPECT_EQ(size_t((n + 1) * (n + 1)), used.size()) << n;
        for (uint32_t corner : {0u, 5u, 30u, 35u})
            EXPECT_TRUE(used.count(corner)) << n;
        EXPECT_LT(*used.rbegin(), 36u);
    }
}

// The evaluated grids follow the model: a moved point evaluates only its patches again (the
// same grids a full evaluation gives), a change of topology evaluates every patch, and the
// vertex buffer receives only the stretch of points that moved.
TEST(SurfaceCache, APointMoveEvaluatesOnlyItsPatches) {
    RecordingGpu gpu; // outlives the model's buffers
    Model model;
    model.createDefault();
    model.gpu = &gpu;
    model.rebuildBuffers();
    SurfaceCache cache;
    ASSERT_EQ((SurfaceCache::Ranges{{0, 4}}), cache.update(model));
    EXPECT_TRUE(cache.update(model).empty()); // nothing moved

    const int32_t corner = model.patches[1].indices[15]; // shared with a neighbour or not
    model.points[static_cast<size_t>(corner)].y += 0.25f;
    model.updatePoints({static_cast<uint32_t>(corner)});
    EXPECT_EQ(1, gpu.rangeUpdates);
    EXPECT_EQ(1u, gpu.pointsUploaded);
    const SurfaceCache::Ranges& changed = cache.update(model);
    size_t users = 0;
    for (const Model::Patch& p : model.patches)
        users += std::count(p.indices.begin(), p.indices.end(), corner) > 0;
    EXPECT_EQ(users, cache.evaluated());
    EXPECT_LT(cache.evaluated(), model.patches.size());
    EXPECT_FALSE(changed.empty());
    SurfaceCache fresh;
    fresh.update(model);
    EXPECT_EQ(0, std::memcmp(fresh.vertices().data(), cache.vertices().data(),
                             cache.vertices().size() * sizeof(vm::Float3)));

    // A whole-pool update or new buffers: every patch again.
    model.updatePointBuffer();
    EXPECT_EQ(4u, (cache.update(model), cache.evaluated()));
    model.patches.pop_back();
    model.rebuildBuffers();
    EXPECT_EQ((SurfaceCache::Ranges{{0, 3}}), cache.update(model));
    EXPECT_TRUE(cache.resized());
}
